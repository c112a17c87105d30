#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "render/ScreenRenderer.h"
#include "sim/ManualLoop.h"
#include "sim/ManualSerialQueue.h"
#include "sim/SimCapture.h"
#include "sim/SimGpuView.h"
#include "sim/World.h"

using namespace turnlet;

namespace {

constexpr std::size_t frameWidth = 8;
constexpr std::size_t frameHeight = 6;
constexpr double frameSeconds = 1.0 / 60;

// A frame whose every pixel carries its number in blue, green and red (alpha 0, which must not
// show), so any shown pixel tells which frame reached the screen.
std::shared_ptr<sim::MemoryPixelBuffer> numberedFrame(std::uint32_t id) {
  auto frame = sim::MemoryPixelBuffer::make(frameWidth, frameHeight);
  for (std::size_t y = 0; y < frameHeight; ++y)
    for (std::size_t x = 0; x < frameWidth; ++x) frame->setPixel(x, y, id & 0xFFFFFFu);
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
  TimerId schedule(double delay, std::function<void()> fn, double tolerance) override {
    return inner.schedule(delay, std::move(fn), tolerance);
  }
  void cancel(TimerId id) override { inner.cancel(id); }
  double now() const override { return inner.now(); }
  bool isLoopThread() const override { return inner.isLoopThread(); }

  std::atomic<bool> armed{false};
  std::binary_semaphore entered{0}, proceed{0};

 private:
  sim::ManualLoop& inner;
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
      EXPECT_TRUE(loop.isLoopThread());
      failures.push_back(e.localizedDescription());
    };
    renderer->onFirstFrameRendered = [this] {
      EXPECT_TRUE(loop.isLoopThread());
      ++firstFrames;
    };
  }

  void TearDown() override {
    if (renderer) renderer->invalidate();
  }

  // The capture queue's part, run on the test thread.
  std::shared_ptr<sim::MemoryPixelBuffer> deliver(std::uint32_t id, ScreenRenderer* to = nullptr) {
    auto frame = numberedFrame(id);
    (to ? to : renderer.get())->streamOutput()->didOutputSampleBuffer(sim::SimSampleBuffer::frame(frame), StreamOutputType::screen);
    return frame;
  }

  // Runs what is due now on the main loop, the GPU and the display until all are quiet.
  void settle() {
    for (int round = 0; round < 1000; ++round)
      if (loop.runUntilIdle() + world.gpu.runGpuWork() + world.gpu.runDisplayWork() == 0) return;
    FAIL() << "the renderer never settles";
  }

  // Lets `count` display refreshes pass.
  void refreshes(int count = 1) {
    for (int i = 0; i < count; ++i) {
      loop.advance(frameSeconds);
      settle();
    }
  }

  int commits() const { return world.gpu.commandBuffersCommitted(); }
  RenderStatistics::Counters counts() { return renderer->statistics().counters(); }
};

}  // namespace

TEST_F(ScreenRendererTest, MadePausedWithTheViewAndLayerItNeeds) {
  EXPECT_TRUE(view->paused);
  EXPECT_FALSE(view->enableSetNeedsDisplay);
  EXPECT_EQ(view->preferredFramesPerSecond, 60);
  EXPECT_TRUE(view->framebufferOnly);
  EXPECT_EQ(view->colorPixelFormat, PixelFormat::bgra8Unorm);
  EXPECT_EQ(view->clearColor, (ClearColor{0, 0, 0, 1}));
  EXPECT_EQ(view->autoresizingMask, 18u);
  EXPECT_EQ(view->device(), world.gpu.defaultDevice());
  EXPECT_TRUE(view->hasDelegate());
  EXPECT_TRUE(view->layer.displaySyncEnabled());
  EXPECT_EQ(view->layer.maximumDrawableCount(), 3u);
  EXPECT_FALSE(view->layer.extendedDynamicRange);
  EXPECT_TRUE(view->layer.opaque);
}

TEST_F(ScreenRendererTest, TenFramesBeforeTheMainLoopRunsMakeOneDrawOfTheTenth) {
  renderer->startRendering();
  for (std::uint32_t id = 1; id <= 10; ++id) deliver(id);
  EXPECT_EQ(loop.pendingPostCount(), 1u) << "one draw request however many frames";
  refreshes(3);
  EXPECT_EQ(commits(), 1);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{10}));
  EXPECT_EQ(counts().captures, 10);
  EXPECT_EQ(counts().presentations, 1);
  EXPECT_EQ(counts().updatedPresentations, 1);
  EXPECT_EQ(view->drawablesInUse(), 0u) << "the shown drawable is back in the pool";
}

TEST_F(ScreenRendererTest, FramesBeforeStartAreKeptNewestOnly) {
  std::weak_ptr<sim::MemoryPixelBuffer> first = deliver(1);
  deliver(2);
  deliver(3);
  refreshes(3);
  EXPECT_TRUE(first.expired()) << "an older frame is released, never drawn";
  EXPECT_EQ(view->drawCalls(), 0);
  renderer->startRendering();
  refreshes(3);
  EXPECT_EQ(commits(), 1);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{3}));
}

TEST_F(ScreenRendererTest, AResizeRedrawsTheLastFrameWithoutCountingAsUpdated) {
  renderer->startRendering();
  deliver(1);
  refreshes(2);
  view->resizeDrawable(12, 16);
  refreshes(2);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{1, 1}));
  auto target = world.gpu.encodedPasses().back().target.lock();
  ASSERT_TRUE(target);
  EXPECT_EQ(target->width(), 12u);
  EXPECT_EQ(counts().presentations, 2);
  EXPECT_EQ(counts().updatedPresentations, 1);
  refreshes(5);
  EXPECT_EQ(commits(), 2) << "an unchanged screen costs nothing";
}

TEST_F(ScreenRendererTest, TwoBuffersInFlightHoldTheNextDrawUntilACompletion) {
  renderer->startRendering();
  for (std::uint32_t id = 1; id <= 4; ++id) {
    deliver(id);
    loop.runUntilIdle();
  }
  EXPECT_EQ(commits(), 2) << "no third command buffer while two are on the GPU";
  refreshes(4);
  EXPECT_EQ(commits(), 3);
  EXPECT_EQ(world.gpu.maxCommandBuffersInFlight(), 2);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{1, 2, 4})) << "the completion draws the newest frame";
}

TEST_F(ScreenRendererTest, MissingDrawablesGiveThreeRetriesApartThenWaitForSomethingNew) {
  renderer->startRendering();
  // Runs the loop for a second, noting when the view is asked to draw.
  auto drawTimes = [this] {
    std::vector<double> times;
    const double end = loop.now() + 1;
    for (;;) {
      const int seen = view->drawCalls();
      if (!loop.runUntil([&] { return view->drawCalls() != seen; }, end - loop.now())) return times;
      times.push_back(loop.now());
      settle();
    }
  };
  view->missingDrawables = 4;
  const double start = loop.now();
  deliver(1);
  auto times = drawTimes();
  ASSERT_EQ(times.size(), 4u) << "the draw and three retries";
  for (std::size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i] - start, 0.05 * double(i), 1e-9);
  EXPECT_EQ(commits(), 0);
  deliver(2);  // something new: drawn at once
  settle();
  EXPECT_EQ(commits(), 1);

  // The successful draw reset the count: a new run of missing drawables gets three retries again.
  view->missingDrawables = 4;
  deliver(3);
  EXPECT_EQ(drawTimes().size(), 4u);
  // So does the window becoming visible, which also redraws; hidden does not.
  window->setOcclusionState(0);
  drawTimes();
  EXPECT_EQ(commits(), 1);
  view->missingDrawables = 1;
  window->setOcclusionState(sim::SimWindow::occlusionStateVisible);
  drawTimes();
  EXPECT_EQ(commits(), 2);
  refreshes(3);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{2, 3}));
  renderer->startRendering();
  EXPECT_EQ(window->observerCount(), 1u) << "started twice, observed once";
}

TEST_F(ScreenRendererTest, NothingReachesTheOwnerAfterInvalidate) {
  renderer->startRendering();
  world.gpu.executionError = PlatformError("MTLCommandBufferErrorDomain", 2, "GPU hang");
  std::weak_ptr<sim::MemoryPixelBuffer> drawn = deliver(1);
  loop.runUntilIdle();
  std::weak_ptr<sim::MemoryPixelBuffer> queued = deliver(2);  // its draw request is now queued
  view->missingDrawables = 1;
  renderer->streamDelegate()->didStopWithError(PlatformError("SCStreamErrorDomain", -3805, "The stream stopped."));

  renderer->invalidate();
  EXPECT_TRUE(queued.expired()) << "the newest frame is let go at once";
  deliver(3);
  refreshes(10);
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(firstFrames, 0);
  EXPECT_EQ(commits(), 1);
  EXPECT_TRUE(drawn.expired()) << "the completed buffer let its frame go";
  EXPECT_EQ(counts().captures, 2) << "a frame after invalidate is not counted";
  EXPECT_EQ(counts().gpuSamples, 1) << "the failed buffer's GPU time still counts";
  EXPECT_FALSE(view->hasDelegate());
  EXPECT_EQ(view->releaseDrawablesCalls(), 1);
  EXPECT_EQ(window->observerCount(), 0u);
  EXPECT_FALSE(renderer->onFailure);

  // A pending retry is cancelled too.
  auto second = make();
  std::dynamic_pointer_cast<sim::SimGpuView>(second->view())->missingDrawables = 1;
  second->startRendering();
  deliver(1, second.get());
  settle();
  EXPECT_EQ(loop.pendingTimerCount(), 1u);
  second->invalidate();
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
}

TEST_F(ScreenRendererTest, FirstFrameIsReportedOnceAfterTheFirstCompletion) {
  renderer->startRendering();
  deliver(1);
  loop.runUntilIdle();
  EXPECT_EQ(firstFrames, 0) << "not before the GPU completed";
  for (std::uint32_t id = 2; id < 5; ++id) {
    deliver(id);
    refreshes(2);
  }
  EXPECT_EQ(firstFrames, 1);

  // Never, when invalidated before the completion.
  auto second = make();
  second->onFirstFrameRendered = [&] { ADD_FAILURE() << "reported after invalidate"; };
  second->startRendering();
  deliver(1, second.get());
  loop.runUntilIdle();
  second->invalidate();
  refreshes(2);
}

TEST_F(ScreenRendererTest, OnlyCompleteScreenFramesDrawOrCount) {
  renderer->startRendering();
  struct Row {
    const char* name;
    sim::SimSampleBuffer sample;
    StreamOutputType type = StreamOutputType::screen;
  };
  std::vector<Row> rows;
  for (auto status : {FrameStatus::idle, FrameStatus::blank, FrameStatus::suspended, FrameStatus::started,
                      FrameStatus::stopped, FrameStatus{9}})
    rows.push_back({"not complete", sim::SimSampleBuffer::frame(numberedFrame(1), status)});
  rows.push_back({"audio", sim::SimSampleBuffer::frame(numberedFrame(1)), StreamOutputType::audio});
  rows.push_back({"invalid", sim::SimSampleBuffer::frame(numberedFrame(1))});
  rows.back().sample.valid = false;
  rows.push_back({"no status", sim::SimSampleBuffer::frame(numberedFrame(1))});
  rows.back().sample.status.reset();
  rows.push_back({"no image buffer", sim::SimSampleBuffer::frame(nullptr)});
  for (const auto& row : rows) {
    renderer->streamOutput()->didOutputSampleBuffer(row.sample, row.type);
    refreshes(2);
    EXPECT_EQ(commits(), 0) << row.name;
    EXPECT_EQ(counts().captures, 0) << row.name;
  }
}

TEST_F(ScreenRendererTest, FailuresReachTheOwnerOnTheMainLoop) {
  renderer->startRendering();
  // The frame cannot be viewed as a texture: reported at once.
  world.gpu.textureStatus = -6660;
  deliver(1);
  loop.runUntilIdle();
  EXPECT_EQ(failures, (std::vector<std::string>{"Could not read a captured frame as a Metal texture (-6660)."}));
  EXPECT_EQ(commits(), 0);
  world.gpu.textureStatus.reset();

  // The command buffer fails on the GPU: the completion only posts the failure.
  failures.clear();
  world.gpu.executionError = PlatformError("MTLCommandBufferErrorDomain", 2, "Discarded (victim of GPU error).");
  deliver(2);
  loop.runUntilIdle();
  world.gpu.executionError.reset();
  world.gpu.runGpuWork();
  EXPECT_TRUE(failures.empty());
  settle();
  EXPECT_EQ(failures, (std::vector<std::string>{"Discarded (victim of GPU error)."}));
  EXPECT_EQ(view->drawablesInUse(), 0u) << "an unpresented drawable goes back to the pool";

  // The stream stops on its own, reported from the stream's own thread.
  failures.clear();
  sim::ManualSerialQueue delegateQueue("sim.capture.delegate", loop);
  sim::SimCaptureStream stream(loop, renderer->streamDelegate(), delegateQueue);
  stream.stopWithError(PlatformError("SCStreamErrorDomain", -3815, "The display was disconnected."));
  std::thread([&] { delegateQueue.drain(); }).join();
  EXPECT_TRUE(failures.empty());
  settle();
  EXPECT_EQ(failures, (std::vector<std::string>{"The display was disconnected."}));
}

// Found once: a slot not given back on a failure path froze the picture after two failures.
TEST_F(ScreenRendererTest, EveryFailurePathGivesItsGpuSlotBack) {
  struct Row {
    const char* name;
    std::function<void(sim::SimGpu&, bool)> fault;
  };
  const Row rows[] = {
      {"command buffer fails on the GPU",
       [](sim::SimGpu& g, bool on) { g.executionError = on ? std::optional(PlatformError("d", 1, "hang")) : std::nullopt; }},
      {"encode fails", [](sim::SimGpu& g, bool on) { g.renderEncoderMissing = on; }},
      {"no command buffer", [](sim::SimGpu& g, bool on) { g.commandBufferMissing = on; }},
      // Also leaves the view ready to draw again.
      {"encode throws what is no Error", [](sim::SimGpu& g, bool on) { g.renderEncoderThrows = on; }},
  };
  renderer->startRendering();
  std::uint32_t id = 0;
  for (const Row& row : rows) {
    row.fault(world.gpu, true);
    for (int failure = 0; failure < 3; ++failure) {
      deliver(++id);
      for (int i = 0; i < 12; ++i) {
        try {
          refreshes();
        } catch (const std::bad_alloc&) {
        }
      }
    }
    row.fault(world.gpu, false);
    deliver(++id);
    refreshes(3);
    EXPECT_EQ(shown.empty() ? 0u : shown.back(), id) << row.name;
  }
}

// Found once: the owner dropped the renderer on the loop while a GPU completion or a capture call
// held it, and it died on that platform thread. Each platform thread here stops inside the
// renderer's callback, at its post to the loop, while the owner invalidates and lets go.
TEST_F(ScreenRendererTest, DiesOnTheLoopWhilePlatformThreadsAreInsideItsCallbacks) {
  sim::ManualSerialQueue captureQueue("local.turnlet.frames", loop);
  sim::SimCaptureStream stream(loop, {}, captureQueue);
  struct Row {
    const char* name;
    std::function<void()> prepare, platformThread;
  };
  const Row rows[] = {
      {"GPU completion", [&] { deliver(1), loop.runUntilIdle(); }, [&] { world.gpu.runGpuWork(); }},
      {"capture", [&] { stream.addOutput(renderer->streamOutput(), StreamOutputType::screen, captureQueue),
                        stream.deliver(sim::SimSampleBuffer::frame(numberedFrame(1))); },
       [&] { captureQueue.drain(); }},
  };
  for (const Row& row : rows) {
    renderer = make();
    renderer->startRendering();
    row.prepare();
    std::weak_ptr<ScreenRenderer> weakRenderer = renderer;
    std::weak_ptr<GpuView> weakView = renderer->view();
    std::weak_ptr<StreamOutput> core = renderer->streamOutput();
    gate.armed = true;
    std::thread platform(row.platformThread);
    gate.entered.acquire();
    renderer->invalidate();
    renderer.reset();
    EXPECT_TRUE(weakRenderer.expired()) << row.name;
    EXPECT_TRUE(weakView.expired()) << row.name;
    gate.proceed.release();
    platform.join();
    settle();
    EXPECT_TRUE(core.expired()) << row.name << ": the stream let go of its output on the loop";
  }
}

TEST_F(ScreenRendererTest, TheOwnerMayInvalidateFromInsideACallback) {
  renderer->onFailure = [this](const Error& e) {
    failures.push_back(e.localizedDescription());
    renderer->invalidate();  // drops the very callback that is running
    failures.push_back("still here");
  };
  renderer->startRendering();
  world.gpu.renderEncoderMissing = true;
  deliver(1);
  settle();
  EXPECT_EQ(failures, (std::vector<std::string>{"Could not encode the rotated frame.", "still here"}));

  world.gpu.renderEncoderMissing = false;
  auto second = make();
  int calls = 0;
  second->onFirstFrameRendered = [&] {
    ++calls;
    second->invalidate();
  };
  second->startRendering();
  deliver(1, second.get());
  refreshes(2);
  EXPECT_EQ(calls, 1);
}

TEST_F(ScreenRendererTest, QueuedWorkDoesNothingOnceTheRendererIsGone) {
  world.gpu.passDurationSeconds = 0.004;
  renderer->startRendering();
  deliver(1);
  loop.runUntilIdle();
  auto output = renderer->streamOutput();
  deliver(2);  // a draw request queued on the main loop
  renderer->streamDelegate()->didStopWithError(PlatformError("SCStreamErrorDomain", 1, "stopped"));
  renderer.reset();
  refreshes(3);
  output->didOutputSampleBuffer(sim::SimSampleBuffer::frame(numberedFrame(3)), StreamOutputType::screen);
  refreshes(3);
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(firstFrames, 0);
  EXPECT_EQ(commits(), 1);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{1})) << "what was committed still reaches the screen";
}

TEST_F(ScreenRendererTest, GpuTimeIsAveragedIntoTheStatistics) {
  world.gpu.passDurationSeconds = 0.004;
  renderer->startRendering();
  for (std::uint32_t id = 1; id <= 3; ++id) {
    deliver(id);
    refreshes(1);
  }
  refreshes(2);
  loop.advance(1 - loop.now());
  const auto reading = renderer->statistics().snapshot();
  EXPECT_NEAR(reading.averageGPUms, 4, 1e-9);
  EXPECT_DOUBLE_EQ(reading.captureFPS, 3);
  EXPECT_DOUBLE_EQ(reading.presentationFPS, 3);
}
