#pragma once

#import <MetalKit/MetalKit.h>

#include <memory>

#include "macos/bridge/CFRef.h"
#include "macos/input/AppKitTouchView.h"
#include "platform/GpuView.h"

@class TurnletViewDelegate;

namespace turnlet::macos {

class MetalKitLayer;

// The presentation view: an MTKView that draws only when draw() is called (paused, display
// requests off, so the renderer's demand paces it), synchronised with the display through its
// Metal layer, its drawables sized in the screen's pixels (the view resizes its drawable with its
// bounds and the window's backing scale). Made by MetalGpu::makeView, owned by its caller, main
// thread only. The MTKView's delegate is an Objective-C object that holds this wrapper by a
// pointer cleared when the wrapper ends, and the wrapper's own delegate weakly. Its touch side is
// one AppKitTouchView over the same MTKView, made with the wrapper and kept as long as it.
class MetalKitView final : public GpuView {
 public:
  explicit MetalKitView(id<MTLDevice> _Nullable device);
  ~MetalKitView() override;
  MetalKitView(const MetalKitView&) = delete;
  MetalKitView& operator=(const MetalKitView&) = delete;

  void setFramebufferOnly(bool only) override;
  void setColorPixelFormat(PixelFormat format) override;
  void setColorSpace(ColorSpace space) override;
  void setClearColor(const ClearColor& color) override;
  void setPaused(bool paused) override;
  void setEnableSetNeedsDisplay(bool enable) override;
  void setPreferredFramesPerSecond(int framesPerSecond) override;
  void setAutoresizingMask(std::uint32_t mask) override;
  MetalLayer* _Nullable metalLayer() override;
  void setDelegate(std::weak_ptr<GpuViewDelegate> delegate) override;
  Size drawableSize() const override;
  std::shared_ptr<Drawable> currentDrawable() override;
  void draw() override;
  void releaseDrawables() override;
  std::shared_ptr<Window> window() const override;
  std::shared_ptr<TouchView> touchView() override { return touch; }

  // For the window that takes this view as its content, and for the view's delegate.
  MTKView* _Nonnull nsView() const { return view; }
  void placeIn(std::weak_ptr<Window> window) { inWindow = std::move(window); }
  void drawFromPlatform();
  void sizeWillChangeFromPlatform(Size size);

 private:
  __strong MTKView* _Nonnull view;
  __strong TurnletViewDelegate* _Nonnull platformDelegate;
  std::weak_ptr<GpuViewDelegate> delegate;
  std::unique_ptr<MetalKitLayer> layer;
  std::weak_ptr<Window> inWindow;
  std::shared_ptr<AppKitTouchView> touch;
  CFRef<CGColorSpaceRef> colorSpace;  // the view's colorspace property does not retain it
};

}  // namespace turnlet::macos
