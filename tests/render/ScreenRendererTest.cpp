#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <new>
#include <semaphore>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "render/ScreenRenderer.h"
#include "sim/system/ManualLoop.h"
#include "sim/system/ManualSerialQueue.h"
#include "sim/capture/SimCapture.h"
#include "sim/gpu/SimGpuView.h"
#include "sim/world/World.h"

using namespace turnlet;

namespace {

constexpr std::size_t frameWidth = 8;
constexpr std::size_t frameHeight = 6;
constexpr double frameSeconds = 1.0 / 60;

// Every pixel carries the frame's number (alpha 0, which must not show), so any shown pixel
// tells which frame reached the screen.
std::shared_ptr<sim::MemoryPixelBuffer> numberedFrame(std::uint32_t id) {
  auto frame = sim::MemoryPixelBuffer::make(frameWidth, frameHeight);
  for (std::size_t i = 0; i < frameWidth * frameHeight; ++i) frame->setPixel(i % frameWidth, i / frameWidth, id);
  return frame;
}

// The renderer's main loop. A post from another thread can be held at the door once (armed):
// the posting thread, inside a platform callback, waits there while the test acts on the loop.
class GatedLoop : public MainLoop {
 public:
  explicit GatedLoop(sim::ManualLoop& inner) : inner(inner) {}
  void post(std::function<void()> fn) override {
    if (!inner.isLoopThread() && armed.exchange(false)) {
      entered.release();
      proceed.acquire();
    }
    inner.post(std::move(fn));
  }
  TimerId schedule(double delay, std::function<void()> fn, double t) override { return inner.schedule(delay, fn, t); }
  void cancel(TimerId id) override { inner.cancel(id); }
  double now() const override { return inner.now(); }
  bool isLoopThread() const override { return inner.isLoopThread(); }

  sim::ManualLoop& inner;
  std::atomic<bool> armed{false};
  std::binary_semaphore entered{0}, proceed{0};
};

class ScreenRendererTest : public ::testing::Test {
 protected:
  sim::ManualLoop loop;
  GatedLoop gate{loop};
  sim::World world{loop};
  std::shared_ptr<ScreenRenderer> renderer = make();
  std::shared_ptr<sim::SimGpuView> view = std::dynamic_pointer_cast<sim::SimGpuView>(renderer->view());
  std::shared_ptr<sim::SimWindow> window = std::make_shared<sim::SimWindow>(loop);
  std::vector<std::string> failures;
  int firstFrames = 0;
  std::vector<std::uint32_t> shown;  // frame numbers, in the order the display showed them

  std::shared_ptr<ScreenRenderer> make() {
    auto made = ScreenRenderer::make(gate, world.gpu, QuarterTurn::right, 60);
    std::dynamic_pointer_cast<sim::SimGpuView>(made->view())->resizeDrawable(frameHeight, frameWidth);
    return made;
  }

  void SetUp() override {
    view->setWindow(window);
    view->setShownObserver([this](const sim::SimTexture& t, double) { shown.push_back(t.pixel(0, 0) & 0xFFFFFFu); });
    renderer->onFailure = [this](const Error& e) {
      failures.push_back(loop.isLoopThread() ? e.localizedDescription() : "off the loop");
    };
    renderer->onFirstFrameRendered = [this] { firstFrames += loop.isLoopThread() ? 1 : 1000; };
  }

  // The capture queue's part, run on the test thread.
  std::shared_ptr<sim::MemoryPixelBuffer> deliver(std::uint32_t id, ScreenRenderer* to = nullptr) {
    auto frame = numberedFrame(id);
    (to ? to : renderer.get())->streamOutput()->didOutputSampleBuffer(sim::SimSampleBuffer::frame(frame), StreamOutputType::screen);
    return frame;
  }

  // Runs what is due now on the main loop, the GPU and the display until all are quiet.
  void settle() {
    while (loop.runUntilIdle() + world.gpu.runGpuWork() + world.gpu.runDisplayWork() > 0) {
    }
  }
  // Lets `count` display refreshes pass.
  void refreshes(int count = 1) {
    for (int i = 0; i < count; ++i) loop.advance(frameSeconds), settle();
  }

  int commits() const { return world.gpu.commandBuffersCommitted(); }
  RenderStatistics::Counters counts() { return renderer->statistics().counters(); }
};

}  // namespace

TEST_F(ScreenRendererTest, MadePausedWithTheViewAndLayerItNeeds) {
  EXPECT_TRUE(view->paused && !view->enableSetNeedsDisplay && view->framebufferOnly && view->layer.opaque);
  EXPECT_TRUE(view->colorPixelFormat == PixelFormat::bgra8Unorm && view->layer.displaySyncEnabled());
  EXPECT_EQ(std::tuple(view->preferredFramesPerSecond, view->autoresizingMask, view->layer.maximumDrawableCount()),
            std::tuple(60, 18u, std::size_t{3}));
  EXPECT_EQ(view->clearColor, (ClearColor{0, 0, 0, 1}));
}

TEST_F(ScreenRendererTest, OnlyTheNewestFrameIsDrawnOnceForEachFrameOrSurface) {
  world.gpu.passDurationSeconds = 0.004;
  std::weak_ptr<sim::MemoryPixelBuffer> first = deliver(1);
  deliver(2);
  refreshes(3);
  EXPECT_TRUE(first.expired()) << "an older frame is released, never drawn";
  EXPECT_EQ(view->drawCalls(), 0) << "frames before the start wait";
  renderer->startRendering();
  for (std::uint32_t id = 3; id <= 10; ++id) deliver(id);
  EXPECT_EQ(loop.pendingPostCount(), 1u) << "one draw request however many frames";
  loop.runUntilIdle();
  EXPECT_EQ(firstFrames, 0) << "not before the GPU completed";
  refreshes(3);
  EXPECT_EQ(view->drawablesInUse(), 0u) << "the shown drawable is back in the pool";
  view->resizeDrawable(12, 16);  // redraws the same frame, which is not counted as updated
  refreshes(3);
  EXPECT_EQ(world.gpu.encodedPasses().back().target.lock()->width(), 12u);
  for (std::uint32_t id = 11; id <= 14; ++id) {  // two buffers in flight hold the next draw
    deliver(id);
    loop.runUntilIdle();
  }
  refreshes(8);
  EXPECT_EQ(world.gpu.maxCommandBuffersInFlight(), 2);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{10, 10, 11, 12, 14})) << "a presentation draws the newest frame";
  EXPECT_EQ(commits(), 5) << "an unchanged screen costs nothing";
  EXPECT_EQ(firstFrames, 1);
  loop.advance(1 - loop.now());
  const auto reading = renderer->statistics().snapshot();
  EXPECT_EQ(std::vector({reading.captureFPS, reading.presentationFPS, reading.updatedFPS}), std::vector({14.0, 5.0, 4.0}));
  EXPECT_NEAR(reading.averageGPUms, 4, 1e-9);
}

TEST_F(ScreenRendererTest, MissingDrawablesGiveThreeRetriesApartThenWaitForAnyFrameEvenIdle) {
  renderer->startRendering();
  auto drawTimes = [this] {  // when the view is asked to draw during the next second
    std::vector<long> times;  // milliseconds
    for (const double end = loop.now() + 1; loop.runUntil([&, seen = view->drawCalls()] { return view->drawCalls() != seen; }, end - loop.now());)
      times.push_back(std::lround(loop.now() * 1000)), settle();
    return times;
  };
  auto idle = [this] {  // what a still desktop sends
    renderer->streamOutput()->didOutputSampleBuffer(sim::SimSampleBuffer::frame(nullptr, FrameStatus::idle),
                                                    StreamOutputType::screen);
  };
  view->missingDrawables = 4;
  deliver(1);
  settle();
  idle();  // does not hurry a retry that is due
  EXPECT_EQ(drawTimes(), (std::vector<long>{50, 100, 150})) << "after the draw at 0, three retries";
  idle();  // after them an idle frame wakes the pending draw; it is neither drawn nor counted
  settle();
  EXPECT_EQ(std::tuple(commits(), counts().captures), std::tuple(1, 1));
  refreshes();
  deliver(2);  // something new, with nothing on its way to the display: drawn at once
  settle();
  EXPECT_EQ(commits(), 2);
  // The successful draw reset the count: a new run of missing drawables gets three retries again.
  view->missingDrawables = 4;
  refreshes();
  deliver(3);
  EXPECT_EQ(drawTimes().size(), 4u);
  // So does the window becoming visible, which also redraws; hidden does not.
  window->setOcclusionState(0);
  drawTimes();
  view->missingDrawables = 1;
  window->setOcclusionState(sim::SimWindow::occlusionStateVisible);
  drawTimes();
  refreshes(3);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{1, 2, 3}));
  renderer->startRendering();
  EXPECT_EQ(window->observerCount(), 1u) << "started twice, observed once";
}

TEST_F(ScreenRendererTest, DrawsUnderACoverNeverOrderedOutAndNeverQueuesFramesForTheDisplay) {
  renderer->startRendering();
  for (std::uint32_t id = 1; id <= 4; ++id) {  // the display shows nothing meanwhile
    deliver(id);
    loop.runUntilIdle();
    world.gpu.runGpuWork();
  }
  EXPECT_EQ(std::tuple(commits(), loop.pendingTimerCount()), std::tuple(1, std::size_t{0}))
      << "a finished frame waits for the display: the next draw waits without asking the layer";
  refreshes(2);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{1, 4})) << "a presented drawable lets the newest frame draw";
  // Frames as fast as the display shows them: after the burst, none waits behind another.
  for (std::uint32_t id = 5; id <= 7; ++id) {
    deliver(id);
    settle();
    refreshes();
    EXPECT_EQ(shown.back(), id) << "shown at the first refresh after it came";
  }

  auto window = [this](WindowLevel level) {
    auto w = world.windows.makeWindow({0, 0, 4, 3}, windowStyleBorderless, BackingStoreType::buffered, false);
    w->setBackgroundColor(Color::black());
    w->setLevel(level);
    w->orderFrontRegardless();
    return w;
  };
  auto second = make();  // a renderer whose view sits in a window of the window server
  auto presentation = window(0);
  auto cover = window(1);
  presentation->setContentView(second->view());
  loop.runUntilIdle();
  EXPECT_EQ(second->view()->window()->occlusionState(), 0u) << "the cover hides it";
  second->startRendering();
  deliver(1, second.get());
  refreshes(2);
  EXPECT_EQ(commits(), 6) << "drawn under the cover";
  presentation->orderOut();
  deliver(2, second.get());
  refreshes(2);
  EXPECT_EQ(commits(), 6) << "ordered out";
  cover->orderOut();
  presentation->orderFrontRegardless();
  refreshes(2);
  EXPECT_EQ(commits(), 7) << "ordered in and visible: drawn";
  second->invalidate();
}

TEST_F(ScreenRendererTest, NothingReachesTheOwnerAfterInvalidate) {
  renderer->startRendering();
  world.gpu.executionError = PlatformError("MTLCommandBufferErrorDomain", 2, "GPU hang");
  std::weak_ptr<sim::MemoryPixelBuffer> drawn = deliver(1);
  loop.runUntilIdle();
  std::weak_ptr<sim::MemoryPixelBuffer> queued = deliver(2);  // its draw request is now queued
  renderer->streamDelegate()->didStopWithError(PlatformError("SCStreamErrorDomain", -3805, "The stream stopped."));
  renderer->invalidate();
  EXPECT_TRUE(queued.expired()) << "the newest frame is let go at once";
  deliver(3);
  refreshes(10);
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(commits(), 1);
  EXPECT_TRUE(drawn.expired()) << "the completed buffer let its frame go";
  EXPECT_EQ(counts().captures, 2) << "a frame after invalidate is not counted";
  EXPECT_EQ(counts().gpuSamples, 1) << "the failed buffer's GPU time still counts";
  EXPECT_TRUE(!view->hasDelegate() && view->releaseDrawablesCalls() == 1 && window->observerCount() == 0);

  // A pending retry is cancelled too, and a first frame completing later is not reported.
  auto second = make();
  second->onFirstFrameRendered = [&] { ADD_FAILURE() << "reported after invalidate"; };
  second->startRendering();
  deliver(1, second.get());
  loop.runUntilIdle();
  std::dynamic_pointer_cast<sim::SimGpuView>(second->view())->missingDrawables = 1;
  deliver(2, second.get());
  settle();
  EXPECT_EQ(loop.pendingTimerCount(), 1u);
  second->invalidate();
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
  refreshes(2);
}

TEST_F(ScreenRendererTest, OnlyCompleteScreenFramesDrawOrCount) {
  renderer->startRendering();
  auto dropped = [&](const sim::SimSampleBuffer& sample, StreamOutputType type = StreamOutputType::screen) {
    renderer->streamOutput()->didOutputSampleBuffer(sample, type);
    refreshes(2);
    return commits() == 0 && counts().captures == 0;
  };
  for (auto status : {FrameStatus::idle, FrameStatus::blank, FrameStatus::suspended, FrameStatus::started,
                      FrameStatus::stopped, FrameStatus{9}})
    EXPECT_TRUE(dropped(sim::SimSampleBuffer::frame(numberedFrame(1), status))) << int(status);
  auto sample = sim::SimSampleBuffer::frame(numberedFrame(1));
  EXPECT_TRUE(dropped(sample, StreamOutputType::audio)) << "audio";
  sample.valid = false;
  EXPECT_TRUE(dropped(sample)) << "invalid";
  sample.valid = true;
  sample.status.reset();
  EXPECT_TRUE(dropped(sample)) << "no status";
  EXPECT_TRUE(dropped(sim::SimSampleBuffer::frame(nullptr))) << "no image buffer";
}

TEST_F(ScreenRendererTest, FailuresReachTheOwnerOnTheMainLoop) {
  // The owner may invalidate from inside the callback, which drops the very callback running.
  renderer->onFailure = [this, record = renderer->onFailure](const Error& e) {
    record(e);
    if (failures.size() == 3) renderer->invalidate();
  };
  renderer->startRendering();
  world.gpu.textureStatus = -6660;  // encode fails: reported at once
  deliver(1);
  loop.runUntilIdle();
  world.gpu.textureStatus.reset();
  // The command buffer fails on the GPU: the completion only posts the failure.
  world.gpu.executionError = PlatformError("MTLCommandBufferErrorDomain", 2, "Discarded (victim of GPU error).");
  deliver(2);
  loop.runUntilIdle();
  world.gpu.executionError.reset();
  world.gpu.runGpuWork();
  // The stream stops on its own, reported from the stream's own thread.
  sim::ManualSerialQueue delegateQueue("sim.capture.delegate", loop);
  sim::SimCaptureStream stream(loop, renderer->streamDelegate(), delegateQueue);
  stream.stopWithError(PlatformError("SCStreamErrorDomain", -3815, "The display was disconnected."));
  std::thread([&] { delegateQueue.drain(); }).join();
  EXPECT_EQ(failures.size(), 1u);
  settle();
  EXPECT_EQ(failures, (std::vector<std::string>{"Could not read a captured frame as a Metal texture (-6660).",
                                                "Discarded (victim of GPU error).", "The display was disconnected."}));
  EXPECT_TRUE(shown.empty()) << "a failed buffer presents nothing";
  EXPECT_EQ(view->drawablesInUse(), 0u) << "an unpresented drawable goes back to the pool";
  EXPECT_FALSE(renderer->onFailure) << "invalidated from inside the callback";
}

// Found once: a slot not given back on a failure path froze the picture after two failures.
TEST_F(ScreenRendererTest, EveryFailurePathGivesItsGpuSlotBack) {
  const std::pair<const char*, std::function<void(sim::SimGpu&)>> rows[] = {
      {"command buffer fails on the GPU", [](sim::SimGpu& g) { g.executionError = PlatformError("d", 1, "hang"); }},
      {"encode fails", [](sim::SimGpu& g) { g.renderEncoderMissing = true; }},
      {"no command buffer", [](sim::SimGpu& g) { g.commandBufferMissing = true; }},
      // Also leaves the view ready to draw again.
      {"encode throws what is no Error", [](sim::SimGpu& g) { g.renderEncoderThrows = true; }},
  };
  renderer->startRendering();
  std::uint32_t id = 0;
  for (const auto& [name, fault] : rows) {
    fault(world.gpu);
    for (int failure = 0; failure < 3; ++failure) {
      deliver(++id);
      for (int i = 0; i < 12; ++i) try {
          refreshes();
        } catch (const std::bad_alloc&) {
        }
    }
    world.gpu.executionError.reset();
    world.gpu.renderEncoderMissing = world.gpu.commandBufferMissing = world.gpu.renderEncoderThrows = false;
    deliver(++id);
    refreshes(3);
    EXPECT_EQ(shown.empty() ? 0u : shown.back(), id) << name;
  }
}

// Found once: the owner dropped the renderer on the loop while a GPU completion or a capture call
// held it, and it died on that platform thread. Each platform thread here stops inside the
// renderer's callback, at its post to the loop, while the owner invalidates and lets go.
TEST_F(ScreenRendererTest, DiesOnTheLoopWhilePlatformThreadsAreInsideItsCallbacks) {
  sim::ManualSerialQueue captureQueue("local.turnlet.frames", loop);
  sim::SimCaptureStream stream(loop, {}, captureQueue);
  for (const char* row : {"GPU completion", "capture"}) {
    renderer = make();
    renderer->startRendering();
    const bool capture = row[0] == 'c';
    if (capture) stream.addOutput(renderer->streamOutput(), StreamOutputType::screen, captureQueue), stream.deliver(sim::SimSampleBuffer::frame(numberedFrame(1)));
    if (!capture) deliver(1), loop.runUntilIdle();
    std::weak_ptr<ScreenRenderer> weakRenderer = renderer;
    std::weak_ptr<GpuView> weakView = renderer->view();
    std::weak_ptr<StreamOutput> core = renderer->streamOutput();
    gate.armed = true;
    std::thread platform([&] { capture ? void(captureQueue.drain()) : void(world.gpu.runGpuWork()); });
    gate.entered.acquire();
    renderer->invalidate();
    renderer.reset();
    EXPECT_TRUE(weakRenderer.expired() && weakView.expired()) << row;
    gate.proceed.release();
    platform.join();
    EXPECT_EQ(core.expired(), !capture) << row << ": the stream hands its reference back to the loop";
    settle();
    EXPECT_TRUE(core.expired()) << row;
  }
}
