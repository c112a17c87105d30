#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/Geometry.h"
#include "platform/Gestures.h"
#include "platform/Gpu.h"
#include "platform/Window.h"

namespace turnlet {

// A view that shows GPU drawables: its layer hands out at most maximumDrawableCount drawables of
// drawableSize() pixels, each of which comes back once the display has shown it (or once it is
// dropped unpresented).
//
// Made by Gpu::makeView and owned by its caller; main loop only, created and destroyed there.
// draw() calls the delegate's draw() at once, on the calling thread; the delegate is held weakly. A paused view that ignores display requests draws only when draw() is
// called. currentDrawable() is the same drawable for the rest of one draw() and may be missing
// (none free, no size yet).

enum class ColorSpace { sRGB, displayP3 };

// Autoresizing mask bits.
inline constexpr std::uint32_t autoresizingWidthSizable = 2;
inline constexpr std::uint32_t autoresizingHeightSizable = 16;

class MetalLayer {
 public:
  virtual ~MetalLayer() = default;
  virtual void setColorSpace(ColorSpace space) = 0;
  // On: a presented drawable waits for the display's vertical blank.
  virtual void setDisplaySyncEnabled(bool enabled) = 0;
  virtual void setMaximumDrawableCount(std::size_t count) = 0;  // 2 or 3
  virtual void setWantsExtendedDynamicRangeContent(bool wants) = 0;
  virtual void setOpaque(bool opaque) = 0;
};

class GpuView;

class GpuViewDelegate {
 public:
  virtual ~GpuViewDelegate() = default;
  virtual void draw(GpuView& view) = 0;
  // The drawable size is changing to `size` pixels.
  virtual void drawableSizeWillChange(GpuView& view, Size size) = 0;
};

class GpuView {
 public:
  virtual ~GpuView() = default;

  virtual void setFramebufferOnly(bool only) = 0;
  virtual void setColorPixelFormat(PixelFormat format) = 0;
  virtual void setColorSpace(ColorSpace space) = 0;
  virtual void setClearColor(const ClearColor& color) = 0;
  virtual void setPaused(bool paused) = 0;
  virtual void setEnableSetNeedsDisplay(bool enable) = 0;
  virtual void setPreferredFramesPerSecond(int framesPerSecond) = 0;
  virtual void setAutoresizingMask(std::uint32_t mask) = 0;
  // Null when the view is not backed by a Metal layer.
  virtual MetalLayer* metalLayer() = 0;
  // An empty pointer clears the delegate.
  virtual void setDelegate(std::weak_ptr<GpuViewDelegate> delegate) = 0;

  virtual Size drawableSize() const = 0;  // pixels
  virtual std::shared_ptr<Drawable> currentDrawable() = 0;
  virtual void draw() = 0;
  // Lets go of the drawables the view holds; they are made again when needed.
  virtual void releaseDrawables() = 0;
  // The window the view is in; null while it is in none. The view does not own its window: the
  // window belongs to whoever created it (the presentation window) and ends when that owner lets
  // go of it. While the view stays in one window, every call returns that same object.
  virtual std::shared_ptr<Window> window() const = 0;
  // The same view as it receives finger touches; it lasts as long as the view. Null where the
  // platform has no touch for it.
  virtual std::shared_ptr<TouchView> touchView() = 0;
};

}  // namespace turnlet
