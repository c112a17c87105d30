#include "render/ScreenRenderer.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <mutex>
#include <semaphore>
#include <utility>

#include "render/FrameDrawDemand.h"

namespace turnlet {

// One drawn frame on its way to the display; its fields are under the frame lock.
struct ScreenRenderer::Passage {
  bool finished = false;  // the GPU finished it: it waits for its refresh
  bool done = false;      // shown, or never to be (its buffer failed)
};

// What platform threads share with the renderer. It never holds the renderer strongly: work for
// the renderer is posted to the main loop with the weak `owner`, locked only there.
class ScreenRenderer::Core final : public StreamOutput, public StreamDelegate {
 public:
  explicit Core(MainLoop& loop) : loop(loop), stats(loop) {}

  // Capture queue.
  void didOutputSampleBuffer(const SampleBuffer& sample, StreamOutputType type) override;
  // Platform thread.
  void didStopWithError(const PlatformError& error) override { postFailure(error); }
  void idleFrameArrived();
  // GPU thread.
  void commandCompleted(const CommandBuffer& buffer, Passage& passage);
  // Display or GPU thread: a drawable was presented, or will never be (its buffer failed).
  void drawableDone(Passage& passage);
  // With the frame lock held: the frame is off its way; true when a waiting draw must be asked for.
  bool leave(Passage& passage);

  // Any thread: posts a draw, a failure or the first-frame report for the renderer.
  void requestDraw();
  void postFailure(const PlatformError& error);

  MainLoop& loop;
  std::weak_ptr<ScreenRenderer> owner;  // set once, before any other thread sees the core
  std::mutex frameLock;
  std::shared_ptr<PixelBuffer> latestFrame;  // frameLock
  FrameDrawDemand demand;                    // frameLock
  bool acceptingFrames = true;               // frameLock
  bool renderedFirstFrame = false;           // frameLock
  // The drawable retries ran out with a draw pending: the next frame of any kind wakes the draw,
  // an idle one included, or a still desktop would never show the picture.
  bool retriesExhausted = false;             // frameLock
  // Frames the GPU has finished that wait for the display to show them.
  std::size_t awaitingDisplay = 0;      // frameLock
  bool waitingForPresentation = false;  // frameLock; a draw found a finished frame waiting
  std::counting_semaphore<maxCommandBuffersInFlight> inFlight{maxCommandBuffersInFlight};
  RenderStatistics stats;
};

namespace {

// A GPU slot taken by one draw: given back on every way out of the draw unless the command buffer
// was committed, whose completed handler then gives it back.
class SlotGuard {
 public:
  explicit SlotGuard(std::counting_semaphore<ScreenRenderer::maxCommandBuffersInFlight>& slots) : slots(&slots) {}
  SlotGuard(const SlotGuard&) = delete;
  SlotGuard& operator=(const SlotGuard&) = delete;
  ~SlotGuard() { giveBack(); }
  void giveBack() {
    if (slots) slots->release();
    slots = nullptr;
  }
  void handOver() { slots = nullptr; }

 private:
  std::counting_semaphore<ScreenRenderer::maxCommandBuffersInFlight>* slots;
};

}  // namespace

// ---- the shared core (any thread) ---------------------------------------------------------

void ScreenRenderer::Core::didOutputSampleBuffer(const SampleBuffer& sample, StreamOutputType type) {
  if (type != StreamOutputType::screen || !sample.isValid()) return;
  const auto status = sample.frameStatus();
  if (status == FrameStatus::idle) return idleFrameArrived();
  if (status != FrameStatus::complete) return;
  auto image = sample.imageBuffer();
  if (!image) return;

  bool request;
  {
    std::lock_guard lock(frameLock);
    if (!acceptingFrames) return;
    // The older frame is released after the lock, never drawn.
    std::swap(latestFrame, image);
    request = demand.frameArrived();
  }
  image.reset();
  stats.recordCapture();
  if (request) requestDraw();
}

// Neither drawn nor counted: it only wakes a draw that its retries gave up on.
void ScreenRenderer::Core::idleFrameArrived() {
  bool request = false;
  {
    std::lock_guard lock(frameLock);
    if (acceptingFrames && retriesExhausted) request = demand.requestIfNeeded();
  }
  if (request) requestDraw();
}

void ScreenRenderer::Core::commandCompleted(const CommandBuffer& buffer, Passage& passage) {
  stats.recordGpuTime(std::max(buffer.gpuEndTime() - buffer.gpuStartTime(), 0.0) * 1000);
  bool wake = false;
  {
    // Counted before its slot is free, so that no draw slips in ahead of a frame waiting.
    std::lock_guard lock(frameLock);
    if (buffer.error()) {
      wake = leave(passage);  // a failed buffer presents nothing
    } else if (!passage.done) {
      passage.finished = true;
      ++awaitingDisplay;
    }
  }
  inFlight.release();
  if (wake) requestDraw();
  if (auto error = buffer.error()) return postFailure(*error);
  bool firstFrame = false;
  bool request;
  {
    std::lock_guard lock(frameLock);
    if (acceptingFrames && !renderedFirstFrame) {
      firstFrame = true;
      renderedFirstFrame = true;
    }
    request = demand.requestIfNeeded();
  }
  if (request) requestDraw();
  if (firstFrame) {
    loop.post([weak = owner] {
      if (auto self = weak.lock()) self->reportFirstFrame();
    });
  }
}

void ScreenRenderer::Core::drawableDone(Passage& passage) {
  bool request;
  {
    std::lock_guard lock(frameLock);
    request = leave(passage);
  }
  if (request) requestDraw();
}

bool ScreenRenderer::Core::leave(Passage& passage) {
  if (std::exchange(passage.done, true)) return false;
  if (std::exchange(passage.finished, false)) --awaitingDisplay;
  return std::exchange(waitingForPresentation, false) && demand.requestIfNeeded();
}

void ScreenRenderer::Core::requestDraw() {
  loop.post([weak = owner] {
    if (auto self = weak.lock()) self->drawIfRunning();
  });
}

void ScreenRenderer::Core::postFailure(const PlatformError& error) {
  loop.post([weak = owner, error] {
    if (auto self = weak.lock()) self->reportFailure(error);
  });
}

// ---- the renderer (main loop) -------------------------------------------------------------

std::shared_ptr<ScreenRenderer> ScreenRenderer::make(MainLoop& loop, Gpu& gpu, QuarterTurn rotation,
                                                     int framesPerSecond) {
  auto renderer = std::make_shared<ScreenRenderer>(Passkey{}, loop, gpu, rotation, framesPerSecond);
  renderer->core->owner = renderer;
  renderer->gpuView->setDelegate(renderer);
  return renderer;
}

ScreenRenderer::ScreenRenderer(Passkey, MainLoop& loop, Gpu& gpu, QuarterTurn rotation, int framesPerSecond)
    : loop(loop),
      core(std::make_shared<Core>(loop)),
      pipeline(gpu),
      turn(rotation),
      gpuView(gpu.makeView(pipeline.device())) {
  gpuView->setFramebufferOnly(true);
  gpuView->setColorPixelFormat(PixelFormat::bgra8Unorm);
  gpuView->setColorSpace(colorSpace);
  gpuView->setClearColor(ClearColor{0, 0, 0, 1});
  // Paused and deaf to display requests: the view draws only when a posted request asks it to.
  gpuView->setPaused(true);
  gpuView->setEnableSetNeedsDisplay(false);
  gpuView->setPreferredFramesPerSecond(framesPerSecond);
  if (MetalLayer* layer = gpuView->metalLayer()) {
    layer->setColorSpace(colorSpace);
    layer->setDisplaySyncEnabled(true);
    layer->setMaximumDrawableCount(maximumDrawableCount);
    layer->setWantsExtendedDynamicRangeContent(false);
    layer->setOpaque(true);
  }
  gpuView->setAutoresizingMask(autoresizingWidthSizable | autoresizingHeightSizable);
}

ScreenRenderer::~ScreenRenderer() = default;

RenderStatistics& ScreenRenderer::statistics() { return core->stats; }
std::shared_ptr<StreamOutput> ScreenRenderer::streamOutput() const { return core; }
std::shared_ptr<StreamDelegate> ScreenRenderer::streamDelegate() const { return core; }

void ScreenRenderer::drawIfRunning() {
  bool running;
  {
    std::lock_guard lock(core->frameLock);
    running = core->demand.isRunning;
  }
  if (running) gpuView->draw();
}

void ScreenRenderer::draw(GpuView& view) {
  assert(loop.isLoopThread());
  std::shared_ptr<PixelBuffer> frame;
  FrameDrawDemand::Ticket ticket;
  {
    std::lock_guard lock(core->frameLock);
    frame = core->latestFrame;
    auto taken = core->demand.beginDraw();
    if (!taken) return;
    ticket = *taken;
  }
  if (!frame) return;
  // Nothing drawn can reach a window that is ordered out or on a sleeping display; ordering it in
  // or the display waking makes it visible again, which redraws. A covered window still draws:
  // the fade's cover lies over it while the apply waits for the first drawn frame.
  if (auto window = view.window(); window && !window->isOnAwakeScreen()) return;
  // No free slot: the next completion asks for this draw again.
  if (!core->inFlight.try_acquire()) return;
  SlotGuard slot(core->inFlight);
  // A finished frame waits for its refresh: its presentation asks for this draw again. (Checked
  // with the slot held: a completion counts its frame before it frees its slot.)
  {
    std::lock_guard lock(core->frameLock);
    if (core->awaitingDisplay > 0) {
      core->waitingForPresentation = true;
      return;
    }
  }

  auto drawable = view.currentDrawable();
  if (!drawable) return retryDrawable();
  auto command = pipeline.commandQueue()->makeCommandBuffer();
  if (!command) return retryDrawable();
  std::shared_ptr<CaptureTexture> texture;
  try {
    texture = pipeline.encode(frame, turn, drawable->texture(), *command);
  } catch (const Error& error) {
    slot.giveBack();
    return reportFailure(error);
  }

  const std::uint64_t previous = presentedSequence;
  presentedSequence = ticket.sequence;
  bool request;
  {
    std::lock_guard lock(core->frameLock);
    request = core->demand.didSubmit(ticket);
    core->retriesExhausted = false;
  }
  // A newer frame arrived while this one was encoded.
  if (request) core->requestDraw();

  if (drawableRetry) {
    loop.cancel(*drawableRetry);
    drawableRetry.reset();
  }
  drawableRetries = 0;

  const bool showsNewFrame = ticket.sequence != previous;
  auto passage = std::make_shared<Passage>();
  drawable->addPresentedHandler([core = core, showsNewFrame, passage](Drawable&) {
    core->stats.recordPresentation(showsNewFrame);
    core->drawableDone(*passage);
  });
  command->present(drawable);
  // The frame and its texture view stay alive until the GPU has read them.
  command->addCompletedHandler([core = core, frame, texture, passage](CommandBuffer& buffer) {
    core->commandCompleted(buffer, *passage);
  });
  command->commit();
  slot.handOver();
}

void ScreenRenderer::drawableSizeWillChange(GpuView&, Size) {
  assert(loop.isLoopThread());
  recordSurfaceChange();
}

void ScreenRenderer::recordSurfaceChange() {
  bool request;
  {
    std::lock_guard lock(core->frameLock);
    request = core->demand.surfaceChanged();
  }
  if (request) core->requestDraw();
}

void ScreenRenderer::windowBecameVisible() {
  drawableRetries = 0;
  {
    std::lock_guard lock(core->frameLock);
    core->retriesExhausted = false;
  }
  recordSurfaceChange();
}

void ScreenRenderer::retryDrawable() {
  if (drawableRetry) return;
  if (drawableRetries >= maxDrawableRetries) {
    std::lock_guard lock(core->frameLock);
    core->retriesExhausted = true;
    return;
  }
  ++drawableRetries;
  drawableRetry = loop.schedule(drawableRetryDelaySeconds, [weak = weak_from_this()] {
    auto self = weak.lock();
    if (!self) return;
    self->drawableRetry.reset();
    bool request;
    {
      std::lock_guard lock(self->core->frameLock);
      request = self->core->demand.requestIfNeeded();
    }
    if (request) self->core->requestDraw();
  });
}

void ScreenRenderer::startRendering() {
  assert(loop.isLoopThread());
  gpuView->setPaused(true);
  if (!visibilityObserver) {
    if (auto window = gpuView->window()) {
      observedWindow = window;
      visibilityObserver = window->addOcclusionStateObserver(
          [weakSelf = weak_from_this(), weakWindow = std::weak_ptr<Window>(window)] {
            auto self = weakSelf.lock();
            auto shown = weakWindow.lock();
            if (!self || !shown) return;
            if (shown->occlusionState() & Window::occlusionStateVisible) self->windowBecameVisible();
          });
    }
  }
  bool request;
  {
    std::lock_guard lock(core->frameLock);
    request = core->demand.start();
  }
  if (request) core->requestDraw();
}

void ScreenRenderer::invalidate() {
  assert(loop.isLoopThread());
  std::shared_ptr<PixelBuffer> dropped;
  {
    std::lock_guard lock(core->frameLock);
    core->acceptingFrames = false;
    dropped = std::move(core->latestFrame);
    core->demand.invalidate();
  }
  if (drawableRetry) {
    loop.cancel(*drawableRetry);
    drawableRetry.reset();
  }
  if (visibilityObserver) {
    if (auto window = observedWindow.lock()) window->removeOcclusionStateObserver(*visibilityObserver);
    visibilityObserver.reset();
    observedWindow.reset();
  }
  gpuView->setPaused(true);
  gpuView->setDelegate({});
  gpuView->releaseDrawables();
  onFailure = nullptr;
  onFirstFrameRendered = nullptr;
}

// Both callbacks are called through a copy, so the owner may invalidate from inside one.
void ScreenRenderer::reportFailure(const Error& error) {
  if (auto callback = onFailure) callback(error);
}

void ScreenRenderer::reportFirstFrame() {
  if (auto callback = onFirstFrameRendered) callback();
}

}  // namespace turnlet
