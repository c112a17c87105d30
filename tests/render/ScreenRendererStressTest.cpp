// Renderers made, fed and torn down for about a second and a half with real threads: a capture
// thread and the capture queue, a GPU worker, a display thread and the real run loop. Meant for
// ThreadSanitizer; no timing is asserted, time only bounds how long it runs.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "host/MonotonicClock.h"
#include "host/RunLoop.h"
#include "host/ThreadSerialQueue.h"
#include "render/ScreenRenderer.h"
#include "sim/SimCapture.h"
#include "sim/SimGpuView.h"
#include "sim/World.h"

using namespace turnlet;

namespace {

constexpr std::size_t frameWidth = 16;
constexpr std::size_t frameHeight = 12;
constexpr double churnSeconds = 1.5;
constexpr double watchdogSeconds = 120.0;  // only a hang gets this far

std::shared_ptr<sim::MemoryPixelBuffer> numberedFrame(std::uint32_t id) {
  auto frame = sim::MemoryPixelBuffer::make(frameWidth, frameHeight);
  for (std::size_t y = 0; y < frameHeight; ++y)
    for (std::size_t x = 0; x < frameWidth; ++x) frame->setPixel(x, y, id & 0xFFFFFFu);
  return frame;
}

}  // namespace

TEST(ScreenRendererStress, RenderersComeAndGoOnTheLoopWhileFramesFlow) {
  host::RunLoop loop;
  sim::World world{loop};
  world.gpu.setWorkerQueue(std::make_unique<host::ThreadSerialQueue>("sim.gpu"));
  world.gpu.setDisplayQueue(std::make_unique<host::ThreadSerialQueue>("sim.display"));
  host::ThreadSerialQueue captureQueue("local.turnlet.frames");
  auto window = std::make_shared<sim::SimWindow>(loop);

  std::mutex streamMutex;
  std::shared_ptr<sim::SimCaptureStream> stream;  // the current renderer's; streamMutex
  std::shared_ptr<ScreenRenderer> renderer;       // loop only
  std::atomic<std::uint32_t> lastShown{0};
  int made = 0, diedElsewhere = 0, failures = 0, firstFrames = 0;
  auto start = [&] {
    renderer = ScreenRenderer::make(loop, world.gpu, QuarterTurn::right, 60);
    ++made;
    auto view = std::dynamic_pointer_cast<sim::SimGpuView>(renderer->view());
    view->setWindow(window);
    view->resizeDrawable(frameHeight, frameWidth);
    view->setShownObserver([&](const sim::SimTexture& t, double) { lastShown = t.pixel(0, 0) & 0xFFFFFFu; });
    renderer->onFailure = [&](const Error&) { ++failures; };
    renderer->onFirstFrameRendered = [&] { ++firstFrames; };
    renderer->startRendering();
    auto next = std::make_shared<sim::SimCaptureStream>(loop, renderer->streamDelegate(), captureQueue);
    next->addOutput(renderer->streamOutput(), StreamOutputType::screen, captureQueue);
    std::lock_guard lock(streamMutex);
    stream = std::move(next);
  };
  // Whatever the platform threads hold at this moment, the renderer and its view end right here.
  auto stop = [&] {
    renderer->invalidate();
    std::weak_ptr<ScreenRenderer> weakRenderer = renderer;
    std::weak_ptr<GpuView> weakView = renderer->view();
    renderer.reset();
    diedElsewhere += !weakRenderer.expired() || !weakView.expired();
  };

  std::atomic<bool> churning{true}, fed{false};
  std::atomic<std::uint32_t> lastDelivered{0};
  std::thread capture([&] {
    for (std::uint32_t id = 1; !fed; ++id) {
      std::shared_ptr<sim::SimCaptureStream> current;
      {
        std::lock_guard lock(streamMutex);
        current = stream;
      }
      if (!current) continue;
      current->deliver(sim::SimSampleBuffer::frame(numberedFrame(id)));
      if (id % 5 == 0) current->deliver(sim::SimSampleBuffer::frame(numberedFrame(0), FrameStatus::idle));
      lastDelivered = id;
      fed = !churning && id % 64 == 0;
    }
  });

  // On the loop: a new renderer every 40 ms, resizes and visibility changes between, then the
  // last one runs until it shows the last frame delivered.
  const double began = loop.now();
  int ticks = 0;
  bool timedOut = false;
  std::function<void()> tick = [&] {
    ++ticks;
    auto* view = dynamic_cast<sim::SimGpuView*>(renderer->view().get());
    if (ticks % 3 == 0) view->resizeDrawable(ticks % 2 ? frameHeight * 2 : frameHeight, ticks % 2 ? frameWidth * 2 : frameWidth);
    if (ticks % 5 == 0) window->setOcclusionState(sim::SimWindow::occlusionStateVisible);
    if (loop.now() - began < churnSeconds) {
      if (ticks % 8 == 0) {
        stop();
        start();
      }
    } else {
      churning = false;
      if (fed && lastShown == lastDelivered) return loop.stop();
    }
    if (loop.now() - began > watchdogSeconds) {
      timedOut = true;
      return loop.stop();
    }
    loop.schedule(0.005, tick);
  };
  start();
  loop.schedule(0.005, tick);
  loop.run();
  fed = true;
  capture.join();

  EXPECT_FALSE(timedOut) << "the last frame never reached the screen";
  EXPECT_EQ(lastShown.load(), lastDelivered.load()) << "the last frame delivered is the last frame presented";
  EXPECT_GE(made, 5);
  EXPECT_LE(world.gpu.maxCommandBuffersInFlight(), ScreenRenderer::maxCommandBuffersInFlight);
  EXPECT_EQ(failures, 0);
  EXPECT_LE(firstFrames, made);
  stop();
  EXPECT_EQ(diedElsewhere, 0) << "a renderer or its view outlived its owner's reference on the loop";
}
