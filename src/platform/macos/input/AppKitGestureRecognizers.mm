#import "macos/input/AppKitGestureRecognizers.h"

#import <AppKit/AppKit.h>
#import <objc/message.h>

#include "macos/bridge/KeepAlive.h"
#include "macos/bridge/PlatformEntry.h"
#include "macos/input/TouchIdentities.h"

namespace turnlet::macos {

static_assert(eventTypeDirectTouch == NSEventTypeDirectTouch);

namespace {

struct SameIdentity final {
  bool operator()(id _Nonnull a, id _Nonnull b) const { return [a isEqual:b]; }
};
using Identities = TouchIdentities<__strong id, SameIdentity>;

Touch touchFrom(NSTouch* _Nonnull touch, NSView* _Nullable view, Identities& identities) {
  Touch read;
  read.identity = identities.number(touch.identity);
  read.type = touch.type == 0 ? TouchType::direct : TouchType::indirect;
  read.phase = touch.phase;
  const NSPoint p = [touch locationInView:view];
  read.location = Point{p.x, p.y};
  if (read.phase & (touchPhaseEnded | touchPhaseCancelled)) identities.ending(touch.identity);
  return read;
}

// One event as a recognizer sees it; the fingers that lifted in it are forgotten when it goes.
class AppKitTouchEvent final : public TouchEvent {
 public:
  AppKitTouchEvent(NSEvent* _Nonnull event, NSView* _Nullable view, Identities& identities)
      : event(event), view(view), identities(identities) {}
  ~AppKitTouchEvent() override { identities.endEvent(); }
  AppKitTouchEvent(const AppKitTouchEvent&) = delete;
  AppKitTouchEvent& operator=(const AppKitTouchEvent&) = delete;

  std::uint64_t type() const override { return event.type; }
  double timestamp() const override { return event.timestamp; }
  std::uint64_t modifierFlags() const override { return event.modifierFlags; }
  std::vector<Touch> touches(TouchPhase matching) const override {
    std::vector<Touch> read;
    // Only gesture and direct-touch events carry touches.
    if (event.type != eventTypeGesture && event.type != eventTypeDirectTouch) return read;
    NSArray<NSTouch*>* all = [event touchesMatchingPhase:static_cast<NSTouchPhase>(matching) inView:view].allObjects;
    for (NSUInteger i = 0; i < all.count; ++i) read.push_back(touchFrom([all objectAtIndex:i], view, identities));
    return read;
  }

 private:
  NSEvent* _Nonnull event;
  NSView* _Nullable view;
  Identities& identities;
};

}  // namespace

}  // namespace turnlet::macos

using turnlet::macos::EntryThread;
using turnlet::macos::GestureDispatch;
using turnlet::macos::Identities;
using turnlet::macos::ranWithoutException;

// The target and delegate of one recognizer: reaches its dispatch weakly.
__attribute__((objc_subclassing_restricted))
@interface TurnletGestureTarget : NSObject <NSGestureRecognizerDelegate>
- (instancetype _Nonnull)initWithDispatch:(std::weak_ptr<GestureDispatch>)dispatch
                               identities:(std::shared_ptr<Identities>)identities;
- (void)fire:(NSGestureRecognizer* _Nonnull)sender;
@end

@implementation TurnletGestureTarget {
  std::weak_ptr<GestureDispatch> _dispatch;
  std::shared_ptr<Identities> _identities;
}

- (instancetype)initWithDispatch:(std::weak_ptr<GestureDispatch>)dispatch identities:(std::shared_ptr<Identities>)identities {
  self = [super init];
  if (self) {
    _dispatch = std::move(dispatch);
    _identities = std::move(identities);
  }
  return self;
}

- (void)fire:(NSGestureRecognizer*)sender {
  ranWithoutException(EntryThread::main, [&] {
    turnlet::macos::KeepAlive keepRecognizer(sender), keepSelf(self);
    GestureDispatch::runAction(_dispatch);
  });
}

// A question the logic failed to answer is a no: the recognizer stays out of the gesture.
- (BOOL)gestureRecognizer:(NSGestureRecognizer*)gestureRecognizer shouldAttemptToRecognizeWithEvent:(NSEvent*)event {
  BOOL attempt = false;
  ranWithoutException(EntryThread::main, [&] {
    turnlet::macos::KeepAlive keepRecognizer(gestureRecognizer), keepSelf(self);
    const std::shared_ptr<Identities> identities = _identities;
    turnlet::macos::AppKitTouchEvent wrapped(event, gestureRecognizer.view, *identities);
    attempt = GestureDispatch::shouldAttemptToRecognize(_dispatch, wrapped);
  });
  return attempt;
}

- (BOOL)gestureRecognizerShouldBegin:(NSGestureRecognizer*)gestureRecognizer {
  BOOL begin = false;
  ranWithoutException(EntryThread::main, [&] {
    turnlet::macos::KeepAlive keepRecognizer(gestureRecognizer), keepSelf(self);
    begin = GestureDispatch::shouldBegin(_dispatch);
  });
  return begin;
}

- (BOOL)gestureRecognizer:(NSGestureRecognizer*)gestureRecognizer shouldReceiveTouch:(NSTouch*)touch {
  BOOL receive = false;
  ranWithoutException(EntryThread::main, [&] {
    turnlet::macos::KeepAlive keepRecognizer(gestureRecognizer), keepSelf(self);
    const std::shared_ptr<Identities> identities = _identities;
    const turnlet::Touch read = turnlet::macos::touchFrom(touch, gestureRecognizer.view, *identities);
    receive = GestureDispatch::shouldReceiveTouch(_dispatch, read);
  });
  return receive;
}

@end

namespace turnlet::macos {

// What every recognizer wrapper holds: the platform recognizer, its target and delegate, the
// dispatch and the identity table.
struct RecognizerParts final {
  NSGestureRecognizer* _Nonnull recognizer;
  TurnletGestureTarget* _Nonnull target;
  std::shared_ptr<GestureDispatch> dispatch;
  std::shared_ptr<Identities> identities;

  GestureState state() const { return static_cast<GestureState>(recognizer.state); }
  Point location() const {
    const NSPoint p = [recognizer locationInView:recognizer.view];
    return Point{p.x, p.y};
  }
  // The keys held with the event being dispatched: a recognizer answers modifierFlags itself only
  // from macOS 26, and older SDKs do not declare it.
  std::uint64_t modifierFlags() const {
    NSEvent* event = NSApplication.sharedApplication.currentEvent;
    return event ? event.modifierFlags : 0;
  }
};

}  // namespace turnlet::macos

namespace turnlet::macos {
class AppKitCustomRecognizer;
}

// The program's own recognizer: the base handling first, then the hooks.
__attribute__((objc_subclassing_restricted))
@interface TurnletCustomGestureRecognizer : NSGestureRecognizer
@property(nonatomic) std::weak_ptr<turnlet::macos::AppKitCustomRecognizer> owner;
- (void)runHook:(void (^_Nonnull)(turnlet::macos::AppKitCustomRecognizer& owner))hook;
- (void)forwardEvent:(NSEvent* _Nonnull)event
                  to:(void (turnlet::GestureHooks::*_Nonnull)(turnlet::CustomGestureRecognizer&, const turnlet::TouchEvent&))hook;
@end

namespace turnlet::macos {

class AppKitPanRecognizer final : public PanGestureRecognizer {
 public:
  explicit AppKitPanRecognizer(RecognizerParts parts) : parts(std::move(parts)) {}
  NSGestureRecognizer* _Nonnull platformRecognizer() const { return parts.recognizer; }
  GestureDispatch& dispatch() { return *parts.dispatch; }
  GestureState state() const override { return parts.state(); }
  void setEnabled(bool enabled) override { parts.recognizer.enabled = enabled; }
  void setAllowedTouchTypes(TouchTypeMask types) override { parts.recognizer.allowedTouchTypes = types; }
  void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate) override { parts.dispatch->setDelegate(std::move(delegate)); }
  Point locationInView() const override { return parts.location(); }
  std::uint64_t modifierFlags() const override { return parts.modifierFlags(); }
  // The touch counts exist from macOS 27; below it nothing is sent (touch refuses to start there).
  // They go by name, so that a build with an SDK that does not declare them still sets them there.
  void setMinimumNumberOfTouches(std::int64_t touches) override {
    if (@available(macOS 27.0, *)) sendCount(NSSelectorFromString(@"setMinimumNumberOfTouches:"), touches);
  }
  void setMaximumNumberOfTouches(std::int64_t touches) override {
    if (@available(macOS 27.0, *)) sendCount(NSSelectorFromString(@"setMaximumNumberOfTouches:"), touches);
  }
  Point translationInView() const override {
    const NSPoint p = [pan() translationInView:parts.recognizer.view];
    return Point{p.x, p.y};
  }
  Point velocityInView() const override {
    const NSPoint p = [pan() velocityInView:parts.recognizer.view];
    return Point{p.x, p.y};
  }

 private:
  NSPanGestureRecognizer* _Nonnull pan() const { return static_cast<NSPanGestureRecognizer*>(parts.recognizer); }
  // A setter taking an NSInteger, sent only where the recognizer answers it.
  void sendCount(SEL _Nonnull setter, std::int64_t count) {
    NSGestureRecognizer* recognizer = parts.recognizer;
    if (![recognizer respondsToSelector:setter]) return;
    using Setter = void (*)(id _Nonnull, SEL _Nonnull, NSInteger);
    reinterpret_cast<Setter>(objc_msgSend)(recognizer, setter, static_cast<NSInteger>(count));
  }
  RecognizerParts parts;
};

class AppKitPressRecognizer final : public PressGestureRecognizer {
 public:
  explicit AppKitPressRecognizer(RecognizerParts parts) : parts(std::move(parts)) {}
  NSGestureRecognizer* _Nonnull platformRecognizer() const { return parts.recognizer; }
  GestureDispatch& dispatch() { return *parts.dispatch; }
  GestureState state() const override { return parts.state(); }
  void setEnabled(bool enabled) override { parts.recognizer.enabled = enabled; }
  void setAllowedTouchTypes(TouchTypeMask types) override { parts.recognizer.allowedTouchTypes = types; }
  void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate) override { parts.dispatch->setDelegate(std::move(delegate)); }
  Point locationInView() const override { return parts.location(); }
  std::uint64_t modifierFlags() const override { return parts.modifierFlags(); }
  void setMinimumPressDuration(double seconds) override { press().minimumPressDuration = seconds; }
  void setNumberOfTouchesRequired(int touches) override { press().numberOfTouchesRequired = touches; }

 private:
  NSPressGestureRecognizer* _Nonnull press() const { return static_cast<NSPressGestureRecognizer*>(parts.recognizer); }
  RecognizerParts parts;
};

class AppKitCustomRecognizer final : public CustomGestureRecognizer {
 public:
  AppKitCustomRecognizer(RecognizerParts parts, std::shared_ptr<GestureHooks> hooks)
      : parts(std::move(parts)), hooks(std::move(hooks)) {}
  NSGestureRecognizer* _Nonnull platformRecognizer() const { return parts.recognizer; }
  GestureDispatch& dispatch() { return *parts.dispatch; }
  GestureState state() const override { return parts.state(); }
  void setEnabled(bool enabled) override { parts.recognizer.enabled = enabled; }
  void setAllowedTouchTypes(TouchTypeMask types) override { parts.recognizer.allowedTouchTypes = types; }
  void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate) override { parts.dispatch->setDelegate(std::move(delegate)); }
  Point locationInView() const override { return parts.location(); }
  std::uint64_t modifierFlags() const override { return parts.modifierFlags(); }
  void setState(GestureState state) override { parts.recognizer.state = static_cast<NSGestureRecognizerState>(state); }
  bool hasView() const override { return parts.recognizer.view != nil; }

  GestureHooks& gestureHooks() { return *hooks; }
  Identities& identities() { return *parts.identities; }

 private:
  RecognizerParts parts;
  std::shared_ptr<GestureHooks> hooks;
};

}  // namespace turnlet::macos

@implementation TurnletCustomGestureRecognizer

// Runs one hook with the wrapper and this object kept until it returns.
- (void)runHook:(void (^_Nonnull)(turnlet::macos::AppKitCustomRecognizer& owner))hook {
  turnlet::macos::KeepAlive keepSelf(self);
  if (std::shared_ptr<turnlet::macos::AppKitCustomRecognizer> owner = self.owner.lock()) hook(*owner);
}

// Hands one event to a touch hook, wrapped for this recognizer's view.
- (void)forwardEvent:(NSEvent*)event
                  to:(void (turnlet::GestureHooks::*)(turnlet::CustomGestureRecognizer&, const turnlet::TouchEvent&))hook {
  NSView* view = self.view;
  [self runHook:^(turnlet::macos::AppKitCustomRecognizer& owner) {
    turnlet::macos::AppKitTouchEvent wrapped(event, view, owner.identities());
    (owner.gestureHooks().*hook)(owner, wrapped);
  }];
}

// The base class's own handling comes first; then the hooks, where nothing may escape.
- (void)touchesBeganWithEvent:(NSEvent*)event {
  [super touchesBeganWithEvent:event];
  ranWithoutException(EntryThread::main, [&] { [self forwardEvent:event to:&turnlet::GestureHooks::touchesBegan]; });
}

- (void)touchesMovedWithEvent:(NSEvent*)event {
  [super touchesMovedWithEvent:event];
  ranWithoutException(EntryThread::main, [&] { [self forwardEvent:event to:&turnlet::GestureHooks::touchesMoved]; });
}

- (void)touchesEndedWithEvent:(NSEvent*)event {
  [super touchesEndedWithEvent:event];
  ranWithoutException(EntryThread::main, [&] { [self forwardEvent:event to:&turnlet::GestureHooks::touchesEnded]; });
}

- (void)touchesCancelledWithEvent:(NSEvent*)event {
  [super touchesCancelledWithEvent:event];
  ranWithoutException(EntryThread::main, [&] { [self forwardEvent:event to:&turnlet::GestureHooks::touchesCancelled]; });
}

- (void)reset {
  [super reset];
  ranWithoutException(EntryThread::main, [&] {
    [self runHook:^(turnlet::macos::AppKitCustomRecognizer& owner) { owner.gestureHooks().reset(); }];
  });
}

// The hooks' location is in this recognizer's view; other views get it converted.
- (NSPoint)locationInView:(NSView*)view {
  std::optional<turnlet::Point> overridden;
  ranWithoutException(EntryThread::main, [&] {
    std::optional<turnlet::Point>* into = &overridden;
    [self runHook:^(turnlet::macos::AppKitCustomRecognizer& owner) { *into = owner.gestureHooks().location(); }];
  });
  NSView* own = self.view;
  if (!overridden || !own || !view) return [super locationInView:view];
  const NSPoint p = NSMakePoint(overridden->x, overridden->y);
  return view == own ? p : [view convertPoint:p fromView:own];
}

@end

namespace turnlet::macos {

namespace {

template <class Wrapper, class... Extra>
std::shared_ptr<Wrapper> make(GestureRecognizers::Action action, NSGestureRecognizer* _Nonnull (^create)(id _Nonnull target),
                              Extra... extra) {
  auto dispatch = std::make_shared<GestureDispatch>(std::move(action));
  auto identities = std::make_shared<Identities>();
  TurnletGestureTarget* target = [[TurnletGestureTarget alloc] initWithDispatch:dispatch identities:identities];
  NSGestureRecognizer* recognizer = create(target);
  recognizer.delegate = target;
  auto wrapper = std::make_shared<Wrapper>(RecognizerParts{recognizer, target, dispatch, identities}, std::move(extra)...);
  dispatch->setRecognizer(wrapper);
  return wrapper;
}

}  // namespace

std::shared_ptr<PanGestureRecognizer> AppKitGestureRecognizers::makePan(Action action) {
  return make<AppKitPanRecognizer>(std::move(action), ^NSGestureRecognizer*(id target) {
    return [[NSPanGestureRecognizer alloc] initWithTarget:target action:@selector(fire:)];
  });
}

std::shared_ptr<PressGestureRecognizer> AppKitGestureRecognizers::makePress(Action action) {
  return make<AppKitPressRecognizer>(std::move(action), ^NSGestureRecognizer*(id target) {
    return [[NSPressGestureRecognizer alloc] initWithTarget:target action:@selector(fire:)];
  });
}

std::shared_ptr<CustomGestureRecognizer> AppKitGestureRecognizers::makeCustom(std::shared_ptr<GestureHooks> hooks,
                                                                              Action action) {
  if (!hooks) return nullptr;
  __block TurnletCustomGestureRecognizer* made = nil;
  auto wrapper = make<AppKitCustomRecognizer>(
      std::move(action),
      ^NSGestureRecognizer*(id target) {
        made = [[TurnletCustomGestureRecognizer alloc] initWithTarget:target action:@selector(fire:)];
        return made;
      },
      std::move(hooks));
  made.owner = wrapper;
  return wrapper;
}

}  // namespace turnlet::macos

namespace turnlet::macos {

namespace {

template <class Fn>
auto withOurs(GestureRecognizer& recognizer, Fn fn) -> decltype(fn(std::declval<AppKitPanRecognizer&>())) {
  if (auto* pan = dynamic_cast<AppKitPanRecognizer*>(&recognizer)) return fn(*pan);
  if (auto* press = dynamic_cast<AppKitPressRecognizer*>(&recognizer)) return fn(*press);
  if (auto* custom = dynamic_cast<AppKitCustomRecognizer*>(&recognizer)) return fn(*custom);
  return nullptr;
}

}  // namespace

NSGestureRecognizer* platformRecognizer(GestureRecognizer& recognizer) {
  return withOurs(recognizer, [](auto& ours) -> NSGestureRecognizer* { return ours.platformRecognizer(); });
}

GestureDispatch* gestureDispatch(GestureRecognizer& recognizer) {
  return withOurs(recognizer, [](auto& ours) -> GestureDispatch* { return &ours.dispatch(); });
}

}  // namespace turnlet::macos
