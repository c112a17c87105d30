#import "macos/windows/AppKitWindowServices.h"

#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>
#import <QuartzCore/QuartzCore.h>
#import <dispatch/dispatch.h>

#include "macos/gpu/MetalKitView.h"
#include "macos/system/NotificationObservers.h"
#include "macos/bridge/ScreenSpace.h"
#include "macos/windows/WindowGeometry.h"
#include "macos/bridge/NumberBridge.h"
#include "macos/bridge/PlatformEntry.h"
#include "macos/display/DisplayValues.h"

static_assert(turnlet::windowStyleBorderless == NSWindowStyleMaskBorderless);
static_assert(static_cast<NSUInteger>(turnlet::BackingStoreType::buffered) == NSBackingStoreBuffered);
static_assert(static_cast<NSInteger>(turnlet::WindowAnimationBehavior::none) == NSWindowAnimationBehaviorNone);
static_assert(turnlet::collectionCanJoinAllSpaces == NSWindowCollectionBehaviorCanJoinAllSpaces &&
              turnlet::collectionStationary == NSWindowCollectionBehaviorStationary &&
              turnlet::collectionIgnoresCycle == NSWindowCollectionBehaviorIgnoresCycle &&
              turnlet::collectionFullScreenAuxiliary == NSWindowCollectionBehaviorFullScreenAuxiliary);
static_assert(static_cast<std::int32_t>(turnlet::WindowLevelKey::normal) == kCGNormalWindowLevelKey &&
              static_cast<std::int32_t>(turnlet::WindowLevelKey::floating) == kCGFloatingWindowLevelKey &&
              static_cast<std::int32_t>(turnlet::WindowLevelKey::statusWindow) == kCGStatusWindowLevelKey &&
              static_cast<std::int32_t>(turnlet::WindowLevelKey::screenSaver) == kCGScreenSaverWindowLevelKey);
static_assert(turnlet::Window::occlusionStateVisible == NSWindowOcclusionStateVisible);

// A window that answers the key and main questions as its owner set them.
__attribute__((objc_subclassing_restricted))
@interface TurnletWindow : NSWindow
@property(nonatomic, assign) BOOL turnletCanBecomeKey;
@property(nonatomic, assign) BOOL turnletCanBecomeMain;
@end

@implementation TurnletWindow
- (BOOL)canBecomeKeyWindow {
  BOOL can = false;
  turnlet::macos::ranWithoutException(turnlet::macos::EntryThread::main, [&] { can = self.turnletCanBecomeKey; });
  return can;
}
- (BOOL)canBecomeMainWindow {
  BOOL can = false;
  turnlet::macos::ranWithoutException(turnlet::macos::EntryThread::main, [&] { can = self.turnletCanBecomeMain; });
  return can;
}
@end

namespace turnlet::macos {
namespace {

// The window as the views in it see it: its occlusion state and observers of its changes.
class AppKitWindowOcclusion final : public Window {
 public:
  explicit AppKitWindowOcclusion(TurnletWindow* _Nonnull window) : window(window), observers(NSNotificationCenter.defaultCenter) {}
  std::uint64_t occlusionState() const override {
    TurnletWindow* w = window;
    return w ? static_cast<std::uint64_t>(w.occlusionState) : 0;
  }
  bool isOnAwakeScreen() const override {
    TurnletWindow* w = window;
    NSScreen* screen = w.visible ? w.screen : nil;
    if (!screen) return false;
    const auto number = screenNumber(platformNumber([screen.deviceDescription objectForKey:@"NSScreenNumber"]));
    return number && *number >= 0 && *number <= 0xFFFFFFFF && !CGDisplayIsAsleep(static_cast<CGDirectDisplayID>(*number));
  }
  ObserverId addOcclusionStateObserver(std::function<void()> handler) override {
    return observers.add(NSWindowDidChangeOcclusionStateNotification, std::move(handler), window);
  }
  void removeOcclusionStateObserver(ObserverId id) override { observers.remove(id); }

 private:
  __weak TurnletWindow* _Nullable window;
  NotificationObservers observers;
};

class AppKitWindow final : public PlatformWindow {
 public:
  AppKitWindow(TurnletWindow* _Nonnull window, std::shared_ptr<AnimationGroups> groups, AnimationGroups::WindowId id)
      : window(window), occlusion(std::make_shared<AppKitWindowOcclusion>(window)), groups(std::move(groups)), id(id) {
    window.releasedWhenClosed = false;
  }

  ~AppKitWindow() override {
    groups->animationEnded(id);
    [window orderOut:nil];
    [window close];
    // Let go of the NSWindow only once the current callout of the main thread has returned.
    TurnletWindow* last = window;
    dispatch_async(dispatch_get_main_queue(), ^{
      (void)last;
    });
  }

  void setReleasedWhenClosed(bool) override { window.releasedWhenClosed = false; }
  void setBackgroundColor(Color c) override {
    window.backgroundColor = [NSColor colorWithSRGBRed:c.red green:c.green blue:c.blue alpha:c.alpha];
  }
  void setOpaque(bool opaque) override { window.opaque = opaque; }
  void setHasShadow(bool shadow) override { window.hasShadow = shadow; }
  void setIgnoresMouseEvents(bool ignores) override { window.ignoresMouseEvents = ignores; }
  bool ignoresMouseEvents() const override { return window.ignoresMouseEvents; }
  void setHidesOnDeactivate(bool hides) override { window.hidesOnDeactivate = hides; }
  void setCanHide(bool canHide) override { window.canHide = canHide; }
  void setAnimationBehavior(WindowAnimationBehavior behavior) override {
    window.animationBehavior = static_cast<NSWindowAnimationBehavior>(behavior);
  }
  void setAlphaValue(double alpha) override {
    const auto a = platformAlpha(alpha);
    if (!a) return;
    groups->animationEnded(id);
    window.alphaValue = *a;
  }
  double alphaValue() const override { return window.alphaValue; }
  void setLevel(WindowLevel level) override { window.level = level; }
  void setCollectionBehavior(WindowCollectionBehavior behavior) override { window.collectionBehavior = static_cast<NSWindowCollectionBehavior>(behavior); }
  void setCanBecomeKeyWindow(bool can) override { window.turnletCanBecomeKey = can; }
  void setCanBecomeMainWindow(bool can) override { window.turnletCanBecomeMain = can; }

  WindowFrame frame() const override { return windowFrameFromNS(window.frame); }
  void setFrame(WindowFrame frame, bool display) override {
    if (const auto f = platformWindowFrame(frame)) [window setFrame:nsRectFrom(*f) display:display];
  }

  void orderFrontRegardless() override { [window orderFrontRegardless]; }
  void orderOut() override { [window orderOut:nil]; }
  void close() override {
    groups->animationEnded(id);
    [window close];
  }
  bool isVisible() const override { return window.visible; }

  void setContentView(std::shared_ptr<GpuView> view) override {
    auto* metal = dynamic_cast<MetalKitView*>(view.get());
    window.contentView = metal ? metal->nsView() : nil;
    if (metal) metal->placeIn(occlusion);
    content = std::move(view);
  }

  // For the animation context.
  void animateAlpha(double alpha, AnimationGroups::GroupId group) {
    const auto a = platformAlpha(alpha);
    if (!a) return;
    groups->animates(group, id);
    [[window animator] setAlphaValue:*a];
  }

 private:
  __strong TurnletWindow* _Nonnull window;
  std::shared_ptr<AppKitWindowOcclusion> occlusion;
  std::shared_ptr<AnimationGroups> groups;
  AnimationGroups::WindowId id;
  std::shared_ptr<GpuView> content;
};

class AppKitAnimationContext final : public AnimationContext {
 public:
  AppKitAnimationContext(NSAnimationContext* _Nonnull context, AnimationGroups::GroupId group) : context(context), group(group) {
    context.duration = 0.25;  // the interface's defaults, whatever an enclosing context set
    setTimingFunction(TimingFunction::linear);
  }
  void setDuration(double seconds) override { context.duration = seconds; }
  void setTimingFunction(TimingFunction timing) override {
    CAMediaTimingFunctionName name = kCAMediaTimingFunctionLinear;
    switch (timing) {
      case TimingFunction::linear: name = kCAMediaTimingFunctionLinear; break;
      case TimingFunction::easeIn: name = kCAMediaTimingFunctionEaseIn; break;
      case TimingFunction::easeOut: name = kCAMediaTimingFunctionEaseOut; break;
      case TimingFunction::easeInEaseOut: name = kCAMediaTimingFunctionEaseInEaseOut; break;
    }
    context.timingFunction = [CAMediaTimingFunction functionWithName:name];
  }
  void animateAlphaValue(PlatformWindow& window, double alpha) override {
    if (auto* appKit = dynamic_cast<AppKitWindow*>(&window)) appKit->animateAlpha(alpha, group);
  }

 private:
  __strong NSAnimationContext* _Nonnull context;
  AnimationGroups::GroupId group;
};

}  // namespace

std::unique_ptr<PlatformWindow> AppKitWindowServices::makeWindow(WindowFrame contentRect, WindowStyleMask style,
                                                                 BackingStoreType backing, bool defer) {
  const WindowFrame rect = platformWindowFrame(contentRect).value_or(WindowFrame{});
  TurnletWindow* window = [[TurnletWindow alloc] initWithContentRect:nsRectFrom(rect)
                                                           styleMask:static_cast<NSWindowStyleMask>(style)
                                                             backing:static_cast<NSBackingStoreType>(backing)
                                                               defer:defer];
  return std::make_unique<AppKitWindow>(window, groups, nextWindow++);
}

WindowLevel AppKitWindowServices::windowLevelForKey(WindowLevelKey key) {
  return CGWindowLevelForKey(static_cast<CGWindowLevelKey>(key));
}

void AppKitWindowServices::runAnimationGroup(std::function<void(AnimationContext&)> changes, std::function<void()> completionHandler) {
  const AnimationGroups::GroupId group = groups->begin(std::move(completionHandler));
  std::weak_ptr<AnimationGroups> weakGroups = groups;
  [NSAnimationContext
      runAnimationGroup:^(NSAnimationContext* _Nonnull context) {
        ranWithoutException(EntryThread::main, [&] {
          AppKitAnimationContext c(context, group);
          changes(c);
        });
      }
      completionHandler:^{
        // On the main thread, as the platform promises; the bookkeeping makes it count once.
        ranWithoutException(EntryThread::main, [&] {
          if (auto locked = weakGroups.lock()) locked->platformCompleted(group);
        });
      }];
  groups->changesEnded(group);
}

bool AppKitWindowServices::accessibilityDisplayShouldReduceMotion() {
  return NSWorkspace.sharedWorkspace.accessibilityDisplayShouldReduceMotion;
}

}  // namespace turnlet::macos
