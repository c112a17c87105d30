#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/GpuView.h"
#include "platform/MainLoop.h"
#include "platform/SerialQueue.h"
#include "sim/gpu/SimGpu.h"
#include "sim/input/SimTouchView.h"

namespace turnlet::sim {

// A window of the simulated window server; starts visible and on an awake screen. Main loop only.
class SimWindow : public Window, public std::enable_shared_from_this<SimWindow> {
 public:
  explicit SimWindow(MainLoop& loop) : loop(loop) {}

  std::uint64_t occlusionState() const override { return state; }
  bool isOnAwakeScreen() const override { return onAwakeScreen; }
  ObserverId addOcclusionStateObserver(std::function<void()> handler) override;
  void removeOcclusionStateObserver(ObserverId id) override;

  // Changes the state and notifies the observers, later, on the main loop.
  void setOcclusionState(std::uint64_t newState);
  std::size_t observerCount() const { return observers.size(); }
  void setOnAwakeScreen(bool on) { onAwakeScreen = on; }

 private:
  MainLoop& loop;
  std::uint64_t state = occlusionStateVisible;
  bool onAwakeScreen = true;
  std::map<ObserverId, std::function<void()>> observers;
  ObserverId nextId = 1;
};

// The view's Metal layer; its settings as a test reads them back.
class SimMetalLayer : public MetalLayer {
 public:
  void setColorSpace(ColorSpace space) override { colorSpace = space; }
  void setDisplaySyncEnabled(bool enabled) override;
  void setMaximumDrawableCount(std::size_t count) override;
  void setWantsExtendedDynamicRangeContent(bool wants) override { extendedDynamicRange = wants; }
  void setOpaque(bool isOpaque) override { opaque = isOpaque; }

  ColorSpace colorSpace = ColorSpace::sRGB;
  bool extendedDynamicRange = false;
  bool opaque = false;
  bool displaySyncEnabled() const;
  std::size_t maximumDrawableCount() const;

  // The drawable pool and the display behind the layer (SimGpuView.cpp).
  struct Screen;

 private:
  friend class SimGpuView;
  std::shared_ptr<Screen> screen;
};

// A GPU view of the simulated Mac on a 60 Hz display.
//
// The layer keeps a pool of at most maximumDrawableCount textures of the drawable size. A
// presented drawable waits for the next vertical blank, which falls on whole multiples of 1/60 s
// of the main loop's clock; with display sync on, each blank shows one drawable, in order. When
// it is shown its presented handlers run on the display queue (SimGpu::setDisplayQueue) and it
// stays on screen, its texture out of the pool, until the next one is shown; a drawable dropped
// without being presented goes back at once.
//
// Main loop only, except the observations marked thread-safe.
class SimGpuView : public GpuView {
 public:
  static constexpr double refreshIntervalSeconds = 1.0 / 60;

  SimGpuView(SimGpu& gpu, std::shared_ptr<GpuDevice> device);
  ~SimGpuView() override;

  void setFramebufferOnly(bool only) override { framebufferOnly = only; }
  void setColorPixelFormat(PixelFormat format) override { colorPixelFormat = format; }
  void setColorSpace(ColorSpace space) override { colorSpace = space; }
  void setClearColor(const ClearColor& color) override { clearColor = color; }
  void setPaused(bool isPaused) override { paused = isPaused; }
  void setEnableSetNeedsDisplay(bool enable) override { enableSetNeedsDisplay = enable; }
  void setPreferredFramesPerSecond(int fps) override { preferredFramesPerSecond = fps; }
  void setAutoresizingMask(std::uint32_t mask) override { autoresizingMask = mask; }
  MetalLayer* metalLayer() override { return &layer; }
  void setDelegate(std::weak_ptr<GpuViewDelegate> newDelegate) override { delegate = std::move(newDelegate); }

  Size drawableSize() const override;
  std::shared_ptr<Drawable> currentDrawable() override;
  void draw() override;
  void releaseDrawables() override;
  // Lets go of the textures kept for drawables to come; the picture on screen and drawables
  // handed out stay. Any thread.
  void releaseSpareDrawables();
  std::shared_ptr<Window> window() const override { return hostWindow.lock(); }
  std::shared_ptr<TouchView> touchView() override { return touch; }
  // The view's touch side, for scripted fingers; its window places it (ServerWindow).
  const std::shared_ptr<SimTouchView>& fingers() const { return touch; }

  // Puts the view in a window (null: in none); the caller keeps the window.
  void setWindow(const std::shared_ptr<SimWindow>& window) { hostWindow = window; }
  // The window resizes the view: the delegate hears of the new drawable size first.
  void resizeDrawable(std::size_t width, std::size_t height);
  // Called on the display queue for each shown drawable, before its texture goes back to the
  // pool; set it before any drawable is presented.
  void setShownObserver(std::function<void(const SimTexture& shown, double shownAtSeconds)> observer);

  // Fault: the next n times the view needs a new drawable it finds none.
  int missingDrawables = 0;

  // Settings as the program made them.
  bool framebufferOnly = true;
  PixelFormat colorPixelFormat = PixelFormat::bgra8Unorm;
  ColorSpace colorSpace = ColorSpace::sRGB;
  ClearColor clearColor{0, 0, 0, 0};
  bool paused = false;
  bool enableSetNeedsDisplay = false;
  int preferredFramesPerSecond = 60;
  std::uint32_t autoresizingMask = 0;
  SimMetalLayer layer;
  const std::shared_ptr<GpuDevice>& device() const { return gpuDevice; }
  bool hasDelegate() const { return !delegate.expired(); }

  // Observations. These two on the main loop, the rest from any thread.
  int drawCalls() const { return draws; }
  int releaseDrawablesCalls() const { return releases; }
  std::size_t shownCount() const;
  std::size_t drawablesInUse() const;      // handed out and not yet back in the pool
  std::size_t presentedWaitingCount() const;  // presented, waiting for a vertical blank
  // Runs the reader on the picture the display shows now, the last drawable shown (kept out of
  // the pool meanwhile, under the layer's lock, so nothing draws into it); false before any.
  bool readLastShown(const std::function<void(const SimTexture&)>& reader) const;

 private:
  void checkThread() const;  // counts a main-thread-only call made elsewhere

  SimGpu& gpu;
  std::shared_ptr<GpuDevice> gpuDevice;
  std::weak_ptr<GpuViewDelegate> delegate;
  std::weak_ptr<SimWindow> hostWindow;
  std::shared_ptr<SimTouchView> touch;
  std::shared_ptr<Drawable> current;
  bool drawing = false;
  int draws = 0;
  int releases = 0;
};

}  // namespace turnlet::sim
