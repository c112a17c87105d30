#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "display/QuarterTurn.h"
#include "platform/CaptureStream.h"
#include "platform/Errors.h"
#include "platform/Gpu.h"
#include "platform/GpuView.h"
#include "platform/MainLoop.h"
#include "platform/Window.h"
#include "render/FramePipeline.h"
#include "render/RenderStatistics.h"

namespace turnlet {

// Sits between the capture stream of the virtual display and the view that shows the turned
// picture. It keeps only the newest complete frame and draws on demand (FrameDrawDemand): a draw
// is requested only when a frame or a surface has not yet been put on screen, at most one request
// is queued, and at most two command buffers are on the GPU. Each draw turns the frame into the
// view's next drawable through FramePipeline, presents it, and feeds RenderStatistics. When a
// draw finds no drawable it retries three times, then waits for the next frame; an idle frame (a
// still desktop) counts for that wake-up, though it is itself neither drawn nor counted. It draws
// only into a window on an awake screen (covered or not), and asks for a drawable only while the
// layer has one that is not on its way to the display, so the main thread never waits for one.
//
// Lifecycle: made paused; runs from startRendering(); invalidate() ends it for good, after which
// frames, completions, retries and queued draws do nothing and no callback is called.
//
// Threads: the renderer itself (its view, pipeline, window observer, callbacks) is made, used and
// destroyed on the main loop. Platform threads reach only a small shared core: the capture
// stream's output and delegate (streamOutput(), streamDelegate(); the capture queue and a
// platform thread) and the command buffers' completed and drawables' presented handlers (GPU
// threads). The core holds the frame lock (newest frame, draw demand, two flags), the statistics
// (their own lock; the two are never held together) and the two GPU slots, and reaches the
// renderer only through work posted to the main loop with a weak reference that is locked there.
// So the last reference to the renderer is always released on the main loop, while the core may
// end on any thread. The main loop takes a GPU slot only with an immediate deadline.
class ScreenRenderer final : public GpuViewDelegate, public std::enable_shared_from_this<ScreenRenderer> {
  struct Passkey {};

 public:
  static constexpr int maxCommandBuffersInFlight = 2;
  static constexpr std::size_t maximumDrawableCount = 3;
  // A draw waits while a frame the GPU has finished waits for its refresh, and the presentation
  // then draws the newest frame. Frames come as fast as the display shows them, so a queue of
  // finished frames would never drain: each frame queued behind another keeps every later one a
  // refresh late. A finished frame is counted before its GPU slot is free, so no more frames are
  // on their way (drawn, not yet shown) than there are slots, and the layer keeps a drawable for
  // the one it shows: asking for a drawable never blocks.
  static_assert(maxCommandBuffersInFlight < maximumDrawableCount);
  static constexpr double drawableRetryDelaySeconds = 0.05;
  static constexpr int maxDrawableRetries = 3;  // in a row, without a successful draw between

  // Throws whatever FramePipeline's constructor throws. Main loop.
  static std::shared_ptr<ScreenRenderer> make(MainLoop& loop, Gpu& gpu, QuarterTurn rotation, int framesPerSecond);
  ScreenRenderer(Passkey, MainLoop& loop, Gpu& gpu, QuarterTurn rotation, int framesPerSecond);
  ~ScreenRenderer() override;

  void startRendering();
  void invalidate();

  // Set by the owner right after creation; called on the main loop.
  std::function<void(const Error&)> onFailure;
  std::function<void()> onFirstFrameRendered;

  // Thread-safe; lives as long as the core.
  RenderStatistics& statistics();
  const std::shared_ptr<GpuView>& view() const { return gpuView; }
  QuarterTurn rotation() const { return turn; }

  // What the capture stream is given: the shared core, which drops frames once the renderer is
  // invalidated or gone. The stream may hold it as it likes and release it on any thread.
  std::shared_ptr<StreamOutput> streamOutput() const;
  std::shared_ptr<StreamDelegate> streamDelegate() const;

  // View (main loop).
  void draw(GpuView& view) override;
  void drawableSizeWillChange(GpuView& view, Size size) override;

 private:
  class Core;
  struct Passage;

  void drawIfRunning();  // a draw request, posted by the core, reaches the loop
  void retryDrawable();
  void recordSurfaceChange();
  void windowBecameVisible();
  void reportFailure(const Error& error);
  void reportFirstFrame();

  MainLoop& loop;
  std::shared_ptr<Core> core;
  std::uint64_t presentedSequence = 0;
  ColorSpace colorSpace = ColorSpace::sRGB;
  FramePipeline pipeline;
  QuarterTurn turn;
  std::shared_ptr<GpuView> gpuView;
  std::optional<Window::ObserverId> visibilityObserver;
  std::weak_ptr<Window> observedWindow;
  std::optional<MainLoop::TimerId> drawableRetry;
  int drawableRetries = 0;
};

}  // namespace turnlet
