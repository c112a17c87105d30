#include "render/ScreenRenderer.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace turnlet {

std::shared_ptr<ScreenRenderer> ScreenRenderer::make(MainLoop& loop, Gpu& gpu, QuarterTurn rotation,
                                                     int framesPerSecond) {
  auto renderer = std::make_shared<ScreenRenderer>(Passkey{}, loop, gpu, rotation, framesPerSecond);
  renderer->gpuView->setDelegate(renderer);
  return renderer;
}

ScreenRenderer::ScreenRenderer(Passkey, MainLoop& loop, Gpu& gpu, QuarterTurn rotation, int framesPerSecond)
    : loop(loop),
      inFlight(std::make_shared<std::counting_semaphore<maxCommandBuffersInFlight>>(maxCommandBuffersInFlight)),
      stats(std::make_shared<RenderStatistics>(loop)),
      pipeline(gpu),
      turn(rotation),
      gpuView(gpu.makeView(pipeline.device())) {
  gpuView->setFramebufferOnly(true);
  gpuView->setColorPixelFormat(PixelFormat::bgra8Unorm);
  gpuView->setColorSpace(colorSpace);
  gpuView->setClearColor(ClearColor{0, 0, 0, 1});
  // Paused and deaf to display requests: the view draws only when enqueueDraw() asks it to.
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

// ---- capture queue ------------------------------------------------------------------------

void ScreenRenderer::didOutputSampleBuffer(const SampleBuffer& sample, StreamOutputType type) {
  if (type != StreamOutputType::screen || !sample.isValid()) return;
  const auto status = frameStatus(sample);
  if (!status || *status != static_cast<std::int64_t>(FrameStatus::complete)) return;
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
  stats->recordCapture();
  if (request) enqueueDraw();
}

void ScreenRenderer::didStopWithError(const PlatformError& error) {
  loop.post([weak = weak_from_this(), error] {
    if (auto self = weak.lock()) self->reportFailure(self->onFailure, error);
  });
}

// ---- main loop ----------------------------------------------------------------------------

void ScreenRenderer::enqueueDraw() {
  loop.post([weak = weak_from_this()] {
    auto self = weak.lock();
    if (!self) return;
    bool running;
    {
      std::lock_guard lock(self->frameLock);
      running = self->demand.isRunning;
    }
    if (running) self->gpuView->draw();
  });
}

void ScreenRenderer::draw(GpuView& view) {
  assert(loop.isLoopThread());
  std::shared_ptr<PixelBuffer> frame;
  FrameDrawDemand::Ticket ticket;
  {
    std::lock_guard lock(frameLock);
    frame = latestFrame;
    auto taken = demand.beginDraw();
    if (!taken) return;
    ticket = *taken;
  }
  if (!frame) return;
  // No free slot: the next completion asks for this draw again.
  if (!inFlight->try_acquire()) return;

  auto drawable = view.currentDrawable();
  if (!drawable) {
    inFlight->release();
    retryDrawable();
    return;
  }
  auto command = pipeline.commandQueue()->makeCommandBuffer();
  if (!command) {
    inFlight->release();
    retryDrawable();
    return;
  }
  std::shared_ptr<CaptureTexture> texture;
  try {
    texture = pipeline.encode(frame, turn, drawable->texture(), *command);
  } catch (const Error& error) {
    inFlight->release();
    reportFailure(onFailure, error);
    return;
  }

  const std::uint64_t previous = presentedSequence;
  presentedSequence = ticket.sequence;
  bool request;
  {
    std::lock_guard lock(frameLock);
    request = demand.didSubmit(ticket);
  }
  // A newer frame arrived while this one was encoded.
  if (request) enqueueDraw();

  if (drawableRetry) {
    loop.cancel(*drawableRetry);
    drawableRetry.reset();
  }
  drawableRetries = 0;

  const bool showsNewFrame = ticket.sequence != previous;
  drawable->addPresentedHandler([stats = stats, showsNewFrame](Drawable&) { stats->recordPresentation(showsNewFrame); });
  command->present(drawable);
  command->addCompletedHandler([frame, texture, stats = stats, slots = inFlight, weak = weak_from_this(),
                                mainLoop = &loop](CommandBuffer& buffer) {
    const double milliseconds = std::max(buffer.gpuEndTime() - buffer.gpuStartTime(), 0.0) * 1000;
    stats->recordGpuTime(milliseconds);
    slots->release();
    if (auto error = buffer.error()) {
      mainLoop->post([weak, failure = *error] {
        if (auto self = weak.lock()) self->reportFailure(self->onFailure, failure);
      });
      return;
    }
    if (auto self = weak.lock()) self->commandCompleted();
  });
  command->commit();
}

void ScreenRenderer::drawableSizeWillChange(GpuView&, Size) {
  assert(loop.isLoopThread());
  recordSurfaceChange();
}

void ScreenRenderer::recordSurfaceChange() {
  bool request;
  {
    std::lock_guard lock(frameLock);
    request = demand.surfaceChanged();
  }
  if (request) enqueueDraw();
}

void ScreenRenderer::windowBecameVisible() {
  drawableRetries = 0;
  recordSurfaceChange();
}

void ScreenRenderer::retryDrawable() {
  if (drawableRetry) return;
  if (drawableRetries >= maxDrawableRetries) return;
  ++drawableRetries;
  drawableRetry = loop.schedule(drawableRetryDelaySeconds, [weak = weak_from_this()] {
    auto self = weak.lock();
    if (!self) return;
    self->drawableRetry.reset();
    bool request;
    {
      std::lock_guard lock(self->frameLock);
      request = self->demand.requestIfNeeded();
    }
    if (request) self->enqueueDraw();
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
    std::lock_guard lock(frameLock);
    request = demand.start();
  }
  if (request) enqueueDraw();
}

void ScreenRenderer::invalidate() {
  assert(loop.isLoopThread());
  std::shared_ptr<PixelBuffer> dropped;
  {
    std::lock_guard lock(frameLock);
    acceptingFrames = false;
    dropped = std::move(latestFrame);
    demand.invalidate();
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

// ---- GPU threads --------------------------------------------------------------------------

void ScreenRenderer::commandCompleted() {
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
  if (request) enqueueDraw();
  if (firstFrame) {
    loop.post([weak = weak_from_this()] {
      auto self = weak.lock();
      if (!self) return;
      // A copy: the callback may invalidate the renderer, which drops the stored one.
      if (auto callback = self->onFirstFrameRendered) callback();
    });
  }
}

void ScreenRenderer::reportFailure(std::function<void(const Error&)> callback, const Error& error) {
  // Called with a copy of onFailure, so the callback survives an invalidate() from inside it.
  if (callback) callback(error);
}

}  // namespace turnlet
