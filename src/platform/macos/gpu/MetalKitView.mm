#import "macos/gpu/MetalKitView.h"

#import <CoreGraphics/CoreGraphics.h>
#import <Foundation/Foundation.h>
#import <QuartzCore/QuartzCore.h>

#include "macos/bridge/CFRef.h"
#include "macos/bridge/KeepAlive.h"
#include "macos/bridge/PlatformEntry.h"
#include "macos/gpu/MetalGpu.h"

static_assert(turnlet::autoresizingWidthSizable == NSViewWidthSizable &&
              turnlet::autoresizingHeightSizable == NSViewHeightSizable);

// The MTKView's delegate (the view holds it weakly; the wrapper keeps it). Forwards to the
// wrapper while it lives; the view and this object stay alive until a draw returns, since the
// program may drop the view, its window or its renderer from inside the draw.
__attribute__((objc_subclassing_restricted))
@interface TurnletViewDelegate : NSObject <MTKViewDelegate>
@property(nonatomic, assign) turnlet::macos::MetalKitView* _Nullable owner;
@end

@implementation TurnletViewDelegate

- (void)drawInMTKView:(MTKView*)view {
  turnlet::macos::ranWithoutException(turnlet::macos::EntryThread::main, [&] {
    const turnlet::macos::KeepAlive keepView(view), keepSelf(self);
    if (turnlet::macos::MetalKitView* owner = self.owner) owner->drawFromPlatform();
  });
}

- (void)mtkView:(MTKView*)view drawableSizeWillChange:(CGSize)size {
  turnlet::macos::ranWithoutException(turnlet::macos::EntryThread::main, [&] {
    const turnlet::macos::KeepAlive keepView(view), keepSelf(self);
    if (turnlet::macos::MetalKitView* owner = self.owner) owner->sizeWillChangeFromPlatform({size.width, size.height});
  });
}

@end

namespace turnlet::macos {

namespace {

CFRef<CGColorSpaceRef> namedColorSpace(ColorSpace space) {
  return CFRef<CGColorSpaceRef>::adopt(CGColorSpaceCreateWithName(space == ColorSpace::displayP3 ? kCGColorSpaceDisplayP3 : kCGColorSpaceSRGB));
}

}  // namespace

class MetalKitLayer final : public MetalLayer {
 public:
  explicit MetalKitLayer(CAMetalLayer* _Nonnull layer) : layer(layer) {}
  void setColorSpace(ColorSpace space) override {
    colorSpace = namedColorSpace(space);  // the layer's colorspace property does not retain it
    layer.colorspace = colorSpace.get();
  }
  void setDisplaySyncEnabled(bool enabled) override { layer.displaySyncEnabled = enabled; }
  void setMaximumDrawableCount(std::size_t count) override { layer.maximumDrawableCount = count; }
  void setWantsExtendedDynamicRangeContent(bool wants) override { layer.wantsExtendedDynamicRangeContent = wants; }
  void setOpaque(bool opaque) override { layer.opaque = opaque; }

 private:
  __strong CAMetalLayer* _Nonnull layer;
  CFRef<CGColorSpaceRef> colorSpace;
};

MetalKitView::MetalKitView(id<MTLDevice> _Nullable device)
    : view([[MTKView alloc] initWithFrame:CGRectMake(0, 0, 0, 0) device:device]), platformDelegate([[TurnletViewDelegate alloc] init]),
      touch(std::make_shared<AppKitTouchView>(view)) {
  platformDelegate.owner = this;
  view.delegate = platformDelegate;
  if ([view.layer isKindOfClass:[CAMetalLayer class]]) layer = std::make_unique<MetalKitLayer>((CAMetalLayer*)view.layer);
}

MetalKitView::~MetalKitView() {
  platformDelegate.owner = nullptr;  // a draw already running finishes without this wrapper
  view.delegate = nil;
}

void MetalKitView::setFramebufferOnly(bool only) { view.framebufferOnly = only; }
void MetalKitView::setColorPixelFormat(PixelFormat format) { view.colorPixelFormat = static_cast<MTLPixelFormat>(format); }
void MetalKitView::setColorSpace(ColorSpace space) {
  colorSpace = namedColorSpace(space);
  view.colorspace = colorSpace.get();
}
void MetalKitView::setClearColor(const ClearColor& c) { view.clearColor = MTLClearColorMake(c.red, c.green, c.blue, c.alpha); }
void MetalKitView::setPaused(bool paused) { view.paused = paused; }
void MetalKitView::setEnableSetNeedsDisplay(bool enable) { view.enableSetNeedsDisplay = enable; }
void MetalKitView::setPreferredFramesPerSecond(int framesPerSecond) { view.preferredFramesPerSecond = framesPerSecond; }
void MetalKitView::setAutoresizingMask(std::uint32_t mask) { view.autoresizingMask = static_cast<NSAutoresizingMaskOptions>(mask); }
MetalLayer* _Nullable MetalKitView::metalLayer() { return layer.get(); }
void MetalKitView::setDelegate(std::weak_ptr<GpuViewDelegate> d) { delegate = std::move(d); }

Size MetalKitView::drawableSize() const {
  const CGSize size = view.drawableSize;
  return {size.width, size.height};
}

std::shared_ptr<Drawable> MetalKitView::currentDrawable() {
  // The view hands out the same drawable for the rest of a draw. Not kept here: a drawable held
  // past its draw is one fewer for the layer's small pool.
  id<CAMetalDrawable> current = view.currentDrawable;
  if (!current) return nullptr;
  return std::make_shared<MetalDrawable>(current);
}

void MetalKitView::draw() { [view draw]; }

void MetalKitView::releaseDrawables() { [view releaseDrawables]; }

std::shared_ptr<Window> MetalKitView::window() const { return view.window ? inWindow.lock() : nullptr; }

void MetalKitView::drawFromPlatform() {
  std::shared_ptr<GpuViewDelegate> d = delegate.lock();
  if (d) d->draw(*this);  // this wrapper may be gone after the call; nothing follows it
}

void MetalKitView::sizeWillChangeFromPlatform(Size size) {
  std::shared_ptr<GpuViewDelegate> d = delegate.lock();
  if (d) d->drawableSizeWillChange(*this, size);
}

}  // namespace turnlet::macos
