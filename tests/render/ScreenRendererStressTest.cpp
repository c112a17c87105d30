// Renderers made, fed and torn down for about a second and a half with real threads: a capture
// thread and the capture queue, a GPU worker, a display thread and the real run loop. Meant for
// ThreadSanitizer; no timing is asserted, time only bounds how long it runs.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "host/RunLoop.h"
#include "host/ThreadSerialQueue.h"
#include "render/ScreenRenderer.h"
#include "sim/capture/SimCapture.h"
#include "sim/gpu/SimGpuView.h"
#include "sim/world/World.h"

using namespace turnlet;

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
  std::atomic<std::uint32_t> lastShown{0}, lastDelivered{0};
  int made = 0, diedElsewhere = 0, failures = 0;
  auto start = [&] {
    renderer = ScreenRenderer::make(loop, world.gpu, QuarterTurn::right, 60);
    ++made;
    auto& view = dynamic_cast<sim::SimGpuView&>(*renderer->view());
    view.setWindow(window);
    view.resizeDrawable(12, 16);
    view.setShownObserver([&](const sim::SimTexture& t, double) { lastShown = t.pixel(0, 0) & 0xFFFFFFu; });
    renderer->onFailure = [&](const Error&) { ++failures; };
    renderer->startRendering();
    auto next = std::make_shared<sim::SimCaptureStream>(loop, renderer->streamDelegate(), captureQueue);
    next->addOutput(renderer->streamOutput(), StreamOutputType::screen, captureQueue);
    std::lock_guard lock(streamMutex);
    stream = std::move(next);
  };
  // Whatever the platform threads hold at this moment, the renderer and its view end right here.
  auto stop = [&] {
    renderer->invalidate();
    std::pair<std::weak_ptr<ScreenRenderer>, std::weak_ptr<GpuView>> ended(renderer, renderer->view());
    renderer.reset();
    diedElsewhere += !ended.first.expired() || !ended.second.expired();
  };
  start();

  std::atomic<bool> churning{true}, fed{false};
  std::thread capture([&] {
    for (std::uint32_t id = 1; !fed; ++id) {
      const auto current = [&] {
        std::lock_guard lock(streamMutex);
        return stream;
      }();
      auto frame = sim::MemoryPixelBuffer::make(16, 12);
      for (std::size_t i = 0; i < 16 * 12; ++i) frame->setPixel(i % 16, i / 16, id & 0xFFFFFFu);
      current->deliver(sim::SimSampleBuffer::frame(frame));
      if (id % 5 == 0) current->deliver(sim::SimSampleBuffer::frame(frame, FrameStatus::idle));
      lastDelivered = id;
      fed = !churning && id % 64 == 0;
    }
  });

  // On the loop: a new renderer every 40 ms, resizes and visibility changes between; then the
  // last one runs until it shows the last frame delivered (a hang would end at the watchdog).
  const double began = loop.now();
  int ticks = 0;
  std::function<void()> tick = [&] {
    if (++ticks % 3 == 0)
      dynamic_cast<sim::SimGpuView&>(*renderer->view()).resizeDrawable(ticks % 2 ? 24 : 12, ticks % 2 ? 32 : 16);
    if (ticks % 5 == 0) window->setOcclusionState(sim::SimWindow::occlusionStateVisible);
    // The picture on screen is read while the next ones are drawn and shown (the compositor's way).
    dynamic_cast<sim::SimGpuView&>(*renderer->view()).readLastShown([](const sim::SimTexture& t) { (void)t.pixel(0, 0); });
    if (loop.now() - began < 1.5 && ticks % 8 == 0) {
      stop();
      start();
    }
    churning = loop.now() - began < 1.5;
    if ((!churning && fed && lastShown == lastDelivered) || loop.now() - began > 120) return loop.stop();  // or hung
    loop.schedule(0.005, tick);
  };
  loop.schedule(0.005, tick);
  loop.run();
  fed = true;
  capture.join();

  EXPECT_EQ(lastShown.load(), lastDelivered.load()) << "the last frame delivered is the last frame presented";
  EXPECT_GE(made, 5);
  EXPECT_EQ(failures, 0);
  stop();
  EXPECT_EQ(diedElsewhere, 0) << "a renderer or its view outlived its owner's reference on the loop";
}
