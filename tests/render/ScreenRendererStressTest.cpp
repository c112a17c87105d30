// The renderer with real threads: a capture thread delivering frames as fast as it can, a GPU
// worker, a display thread and the real run loop. Meant for ThreadSanitizer; no timing is
// asserted, time only bounds how long frames are fed.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
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
constexpr double feedSeconds = 2.0;
constexpr double watchdogSeconds = 120.0;  // only a hang gets this far

std::shared_ptr<sim::MemoryPixelBuffer> numberedFrame(std::uint32_t id) {
  auto frame = sim::MemoryPixelBuffer::make(frameWidth, frameHeight);
  for (std::size_t y = 0; y < frameHeight; ++y)
    for (std::size_t x = 0; x < frameWidth; ++x) frame->setPixel(x, y, id & 0xFFFFFFu);
  return frame;
}

}  // namespace

TEST(ScreenRendererStress, CaptureGpuAndDisplayThreadsAgainstTheRunLoop) {
  host::RunLoop loop;
  sim::World world{loop};
  world.gpu.setWorkerQueue(std::make_unique<host::ThreadSerialQueue>("sim.gpu"));
  world.gpu.setDisplayQueue(std::make_unique<host::ThreadSerialQueue>("sim.display"));

  auto renderer = ScreenRenderer::make(loop, world.gpu, QuarterTurn::right, 60);
  auto view = std::dynamic_pointer_cast<sim::SimGpuView>(renderer->view());
  auto window = std::make_shared<sim::SimWindow>(loop);
  view->setWindow(window);
  view->resizeDrawable(frameHeight, frameWidth);
  std::atomic<std::uint32_t> lastShown{0};
  view->setShownObserver([&](const sim::SimTexture& t, double) { lastShown = t.pixel(0, 0) & 0xFFFFFFu; });
  std::atomic<int> failures{0};
  std::atomic<int> firstFrames{0};
  renderer->onFailure = [&](const Error&) { ++failures; };
  renderer->onFirstFrameRendered = [&] { ++firstFrames; };
  renderer->startRendering();

  std::atomic<bool> fed{false};
  std::atomic<std::uint32_t> lastDelivered{0};
  std::atomic<std::uint64_t> accepted{0};
  std::thread capture([&] {
    const double end = host::monotonicSeconds() + feedSeconds;
    std::uint32_t id = 0;
    while (host::monotonicSeconds() < end) {
      ++id;
      renderer->didOutputSampleBuffer(sim::SimSampleBuffer::frame(numberedFrame(id)), StreamOutputType::screen);
      ++accepted;
      lastDelivered = id;
      if (id % 5 == 0)  // the display shows nothing new now and then
        renderer->didOutputSampleBuffer(sim::SimSampleBuffer::frame(numberedFrame(0), FrameStatus::idle),
                                        StreamOutputType::screen);
    }
    fed = true;
  });

  // Meanwhile the window changes size and visibility on the main loop, and readings are taken.
  const double started = loop.now();
  int ticks = 0;
  bool timedOut = false;
  std::function<void()> tick = [&] {
    ++ticks;
    if (ticks % 20 == 0) view->resizeDrawable(ticks % 40 ? frameHeight * 2 : frameHeight, ticks % 40 ? frameWidth * 2 : frameWidth);
    if (ticks % 30 == 0) window->setOcclusionState(sim::SimWindow::occlusionStateVisible);
    if (fed && lastShown == lastDelivered) return loop.stop();
    if (loop.now() - started > watchdogSeconds) {
      timedOut = true;
      return loop.stop();
    }
    loop.schedule(0.005, tick);
  };
  loop.schedule(0.005, tick);
  loop.run();
  capture.join();

  EXPECT_FALSE(timedOut) << "the last frame never reached the screen";
  EXPECT_EQ(lastShown.load(), lastDelivered.load()) << "the last frame delivered is the last frame presented";
  EXPECT_LE(world.gpu.maxCommandBuffersInFlight(), ScreenRenderer::maxCommandBuffersInFlight);
  EXPECT_GE(world.gpu.maxCommandBuffersInFlight(), 1);
  const auto counts = renderer->statistics().counters();
  EXPECT_EQ(counts.captures, double(accepted.load())) << "captures counted equal frames accepted";
  EXPECT_GE(counts.presentations, 1);
  EXPECT_LE(counts.updatedPresentations, counts.presentations);
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(firstFrames.load(), 1);

  renderer->invalidate();
  renderer.reset();
}
