#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <semaphore>

#include "display/QuarterTurn.h"
#include "platform/CaptureStream.h"
#include "platform/Errors.h"
#include "platform/Gpu.h"
#include "platform/GpuView.h"
#include "platform/MainLoop.h"
#include "platform/PixelBuffer.h"
#include "platform/Window.h"
#include "render/FrameDrawDemand.h"
#include "render/FramePipeline.h"
#include "render/RenderStatistics.h"

namespace turnlet {

// Sits between the capture stream of the virtual display and the view that shows the turned
// picture. It keeps only the newest complete frame and draws on demand (FrameDrawDemand): a draw
// is requested only when a frame or a surface has not yet been put on screen, at most one request
// is queued, and at most two command buffers are on the GPU. Each draw turns the frame into the
// view's next drawable through FramePipeline, presents it, and feeds RenderStatistics.
//
// Lifecycle: made paused; runs from startRendering(); invalidate() ends it for good, after which
// frames, completions, retries and queued draws do nothing and no callback is called.
//
// Threads: didOutputSampleBuffer() runs on the capture queue; didStopWithError(), the command
// buffers' completed handlers and the drawables' presented handlers on platform threads; all else,
// both callbacks included, on the main loop. frameLock guards the newest frame, the demand and
// the two flags beside it; the statistics have their own lock; the two are never held together.
// The main loop takes a GPU slot only with an immediate deadline, so it never waits on the GPU.
// Everything posted to the main loop holds the renderer weakly.
class ScreenRenderer final : public StreamOutput,
                             public StreamDelegate,
                             public GpuViewDelegate,
                             public std::enable_shared_from_this<ScreenRenderer> {
  struct Passkey {};

 public:
  static constexpr int maxCommandBuffersInFlight = 2;
  static constexpr std::size_t maximumDrawableCount = 3;
  static constexpr double drawableRetryDelaySeconds = 0.05;
  static constexpr int maxDrawableRetries = 3;  // in a row, without a successful draw between

  // Throws whatever FramePipeline's constructor throws. Main loop.
  static std::shared_ptr<ScreenRenderer> make(MainLoop& loop, Gpu& gpu, QuarterTurn rotation, int framesPerSecond);
  ScreenRenderer(Passkey, MainLoop& loop, Gpu& gpu, QuarterTurn rotation, int framesPerSecond);

  void startRendering();
  void invalidate();

  // Set by the owner right after creation; called on the main loop.
  std::function<void(const Error&)> onFailure;
  std::function<void()> onFirstFrameRendered;

  RenderStatistics& statistics() { return *stats; }
  const std::shared_ptr<GpuView>& view() const { return gpuView; }
  QuarterTurn rotation() const { return turn; }

  // Capture stream (capture queue, platform thread).
  void didOutputSampleBuffer(const SampleBuffer& sample, StreamOutputType type) override;
  void didStopWithError(const PlatformError& error) override;
  // View (main loop).
  void draw(GpuView& view) override;
  void drawableSizeWillChange(GpuView& view, Size size) override;

 private:
  void enqueueDraw();
  void retryDrawable();
  void recordSurfaceChange();
  void windowBecameVisible();
  void commandCompleted();
  void reportFailure(std::function<void(const Error&)> callback, const Error& error);

  MainLoop& loop;
  std::mutex frameLock;
  std::shared_ptr<PixelBuffer> latestFrame;  // frameLock
  FrameDrawDemand demand;                    // frameLock
  std::uint64_t presentedSequence = 0;
  bool acceptingFrames = true;  // frameLock
  std::shared_ptr<std::counting_semaphore<maxCommandBuffersInFlight>> inFlight;
  ColorSpace colorSpace = ColorSpace::sRGB;
  std::shared_ptr<RenderStatistics> stats;
  FramePipeline pipeline;
  QuarterTurn turn;
  std::shared_ptr<GpuView> gpuView;
  bool renderedFirstFrame = false;  // frameLock
  std::optional<Window::ObserverId> visibilityObserver;
  std::weak_ptr<Window> observedWindow;
  std::optional<MainLoop::TimerId> drawableRetry;
  int drawableRetries = 0;
};

}  // namespace turnlet
