#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "display/AppFailure.h"
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

class ScreenRendererTest : public ::testing::Test {
 protected:
  sim::ManualLoop loop;
  sim::World world{loop};
  std::shared_ptr<ScreenRenderer> renderer = ScreenRenderer::make(loop, world.gpu, QuarterTurn::right, 60);
  std::shared_ptr<sim::SimGpuView> view = std::dynamic_pointer_cast<sim::SimGpuView>(renderer->view());
  std::shared_ptr<sim::SimWindow> window = std::make_shared<sim::SimWindow>(loop);
  std::vector<std::string> failures;
  int firstFrames = 0;
  std::vector<std::uint32_t> shown;  // frame numbers, in the order the display showed them

  void SetUp() override {
    ASSERT_TRUE(view);
    view->setWindow(window);
    view->resizeDrawable(frameHeight, frameWidth);
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
  std::shared_ptr<sim::MemoryPixelBuffer> deliver(std::uint32_t id, FrameStatus status = FrameStatus::complete) {
    auto frame = numberedFrame(id);
    renderer->didOutputSampleBuffer(sim::SimSampleBuffer::frame(frame, status), StreamOutputType::screen);
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
  EXPECT_EQ(view->colorSpace, ColorSpace::sRGB);
  EXPECT_EQ(view->clearColor, (ClearColor{0, 0, 0, 1}));
  EXPECT_EQ(view->autoresizingMask, 18u);
  EXPECT_EQ(view->device(), world.gpu.defaultDevice());
  EXPECT_TRUE(view->hasDelegate());
  EXPECT_EQ(view->layer.colorSpace, ColorSpace::sRGB);
  EXPECT_TRUE(view->layer.displaySyncEnabled());
  EXPECT_EQ(view->layer.maximumDrawableCount(), 3u);
  EXPECT_FALSE(view->layer.extendedDynamicRange);
  EXPECT_TRUE(view->layer.opaque);
  EXPECT_EQ(world.gpu.libraryCompiles(), 1);

  world.gpu.deviceMissing = true;
  try {
    ScreenRenderer::make(loop, world.gpu, QuarterTurn::left, 60);
    ADD_FAILURE() << "made without a GPU";
  } catch (const AppFailure& failure) {
    EXPECT_EQ(failure.message(), "Metal is unavailable on this Mac.");
  }
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
  EXPECT_EQ(commits(), 0);
  EXPECT_EQ(view->drawCalls(), 0);
  EXPECT_EQ(counts().captures, 3);

  renderer->startRendering();
  refreshes(3);
  EXPECT_EQ(commits(), 1);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{3}));
}

TEST_F(ScreenRendererTest, AResizeRedrawsTheLastFrameWithoutCountingAsUpdated) {
  renderer->startRendering();
  deliver(1);
  refreshes(2);
  ASSERT_EQ(shown, (std::vector<std::uint32_t>{1}));

  view->resizeDrawable(12, 16);
  refreshes(2);
  EXPECT_EQ(commits(), 2);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{1, 1}));
  auto target = world.gpu.encodedPasses().back().target.lock();
  ASSERT_TRUE(target);
  EXPECT_EQ(target->width(), 12u);
  EXPECT_EQ(target->height(), 16u);
  EXPECT_EQ(counts().presentations, 2);
  EXPECT_EQ(counts().updatedPresentations, 1);
  EXPECT_EQ(counts().captures, 1);

  refreshes(5);
  EXPECT_EQ(commits(), 2) << "an unchanged screen costs nothing";
}

TEST_F(ScreenRendererTest, TwoBuffersInFlightHoldTheNextDrawUntilACompletion) {
  renderer->startRendering();
  deliver(1);
  loop.runUntilIdle();
  deliver(2);
  loop.runUntilIdle();
  ASSERT_EQ(commits(), 2);
  EXPECT_EQ(world.gpu.commandBuffersInFlight(), 2);

  deliver(3);
  loop.runUntilIdle();
  deliver(4);
  loop.runUntilIdle();
  EXPECT_EQ(commits(), 2) << "no third command buffer while two are on the GPU";

  refreshes(4);
  EXPECT_EQ(commits(), 3);
  EXPECT_EQ(world.gpu.maxCommandBuffersInFlight(), 2);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{1, 2, 4})) << "the completion draws the newest frame";
  EXPECT_EQ(counts().captures, 4);
  EXPECT_EQ(counts().updatedPresentations, 3);
}

TEST_F(ScreenRendererTest, MissingDrawablesGiveThreeRetriesApartThenWaitForSomethingNew) {
  renderer->startRendering();
  // Runs the loop for `seconds`, noting when the view is asked to draw.
  auto drawTimes = [this](double seconds) {
    std::vector<double> times;
    const double end = loop.now() + seconds;
    for (;;) {
      const int seen = view->drawCalls();
      if (!loop.runUntil([&] { return view->drawCalls() != seen; }, end - loop.now())) break;
      times.push_back(loop.now());
      settle();
    }
    return times;
  };

  view->missingDrawables = 4;
  const double start = loop.now();
  deliver(1);
  auto times = drawTimes(1.0);
  ASSERT_EQ(times.size(), 4u) << "the draw and three retries";
  for (std::size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i] - start, 0.05 * double(i), 1e-9);
  EXPECT_EQ(commits(), 0);
  EXPECT_EQ(view->missingDrawables, 0);
  EXPECT_EQ(loop.pendingTimerCount(), 0u);

  deliver(2);  // something new: drawn at once
  settle();
  EXPECT_EQ(commits(), 1);

  // The successful draw reset the count: a new run of missing drawables gets three retries again.
  view->missingDrawables = 4;
  deliver(3);
  EXPECT_EQ(drawTimes(1.0).size(), 4u);
  EXPECT_EQ(commits(), 1);

  // So does the window becoming visible, which also redraws.
  view->missingDrawables = 1;
  window->setOcclusionState(sim::SimWindow::occlusionStateVisible);
  drawTimes(1.0);
  EXPECT_EQ(commits(), 2);
  refreshes(3);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{2, 3}));
}

TEST_F(ScreenRendererTest, TheWindowBecomingVisibleRedrawsAndHiddenDoesNot) {
  renderer->startRendering();
  EXPECT_EQ(window->observerCount(), 1u);
  deliver(1);
  refreshes(2);
  window->setOcclusionState(0);
  refreshes(2);
  EXPECT_EQ(commits(), 1);
  window->setOcclusionState(sim::SimWindow::occlusionStateVisible);
  refreshes(2);
  EXPECT_EQ(commits(), 2);
  EXPECT_EQ(counts().updatedPresentations, 1);
  renderer->startRendering();
  EXPECT_EQ(window->observerCount(), 1u) << "started twice, observed once";
}

TEST_F(ScreenRendererTest, NothingReachesTheOwnerAfterInvalidate) {
  renderer->startRendering();
  world.gpu.executionError = PlatformError("MTLCommandBufferErrorDomain", 2, "GPU hang");
  world.gpu.passDurationSeconds = 0.002;
  std::weak_ptr<sim::MemoryPixelBuffer> drawn = deliver(1);
  loop.runUntilIdle();
  ASSERT_EQ(commits(), 1);
  std::weak_ptr<sim::MemoryPixelBuffer> queued = deliver(2);  // its draw request is now queued
  view->missingDrawables = 1;
  renderer->didStopWithError(PlatformError("SCStreamErrorDomain", -3805, "The stream stopped."));

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
  EXPECT_TRUE(view->paused);
  EXPECT_FALSE(view->hasDelegate());
  EXPECT_EQ(view->releaseDrawablesCalls(), 1);
  EXPECT_EQ(window->observerCount(), 0u);
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
  EXPECT_FALSE(renderer->onFailure);
  EXPECT_FALSE(renderer->onFirstFrameRendered);

  // A pending retry is cancelled too.
  auto second = ScreenRenderer::make(loop, world.gpu, QuarterTurn::right, 60);
  auto secondView = std::dynamic_pointer_cast<sim::SimGpuView>(second->view());
  secondView->resizeDrawable(frameHeight, frameWidth);
  secondView->missingDrawables = 1;
  second->startRendering();
  second->didOutputSampleBuffer(sim::SimSampleBuffer::frame(numberedFrame(1)), StreamOutputType::screen);
  settle();
  EXPECT_EQ(loop.pendingTimerCount(), 1u);
  second->invalidate();
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
}

TEST_F(ScreenRendererTest, FirstFrameIsReportedOnceAfterTheFirstCompletion) {
  renderer->startRendering();
  deliver(1);
  loop.runUntilIdle();
  ASSERT_EQ(commits(), 1);
  EXPECT_EQ(firstFrames, 0) << "not before the GPU completed";
  refreshes(2);
  EXPECT_EQ(firstFrames, 1);
  for (std::uint32_t id = 2; id < 6; ++id) {
    deliver(id);
    refreshes(2);
  }
  EXPECT_EQ(firstFrames, 1);

  // Never, when invalidated before the completion.
  int lateFirstFrames = 0;
  auto second = ScreenRenderer::make(loop, world.gpu, QuarterTurn::right, 60);
  std::dynamic_pointer_cast<sim::SimGpuView>(second->view())->resizeDrawable(frameHeight, frameWidth);
  second->onFirstFrameRendered = [&] { ++lateFirstFrames; };
  second->startRendering();
  second->didOutputSampleBuffer(sim::SimSampleBuffer::frame(numberedFrame(1)), StreamOutputType::screen);
  loop.runUntilIdle();
  second->invalidate();
  refreshes(2);
  EXPECT_EQ(lateFirstFrames, 0);
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
                      FrameStatus::stopped})
    rows.push_back({"not complete", sim::SimSampleBuffer::frame(numberedFrame(1), status)});
  rows.push_back({"audio", sim::SimSampleBuffer::frame(numberedFrame(1)), StreamOutputType::audio});
  auto invalid = sim::SimSampleBuffer::frame(numberedFrame(1));
  invalid.valid = false;
  rows.push_back({"invalid", invalid});
  auto noAttachments = sim::SimSampleBuffer::frame(numberedFrame(1));
  noAttachments.attachments.reset();
  rows.push_back({"no attachments", noAttachments});
  auto emptyAttachments = noAttachments;
  emptyAttachments.attachments.emplace();
  rows.push_back({"empty attachments array", emptyAttachments});
  auto noStatus = noAttachments;
  noStatus.attachments = std::vector<SampleAttachments>{{{"SCStreamFrameInfoDisplayTime", std::int64_t{0}}}};
  rows.push_back({"no status entry", noStatus});
  auto textStatus = noAttachments;
  textStatus.attachments = std::vector<SampleAttachments>{{{frameInfoStatusKey, std::string("0")}}};
  rows.push_back({"status not a number", textStatus});
  auto noImage = sim::SimSampleBuffer::frame(nullptr);
  rows.push_back({"no image buffer", noImage});

  for (const auto& row : rows) {
    renderer->didOutputSampleBuffer(row.sample, row.type);
    refreshes(2);
    EXPECT_EQ(commits(), 0) << row.name;
    EXPECT_EQ(counts().captures, 0) << row.name;
  }

  auto realStatus = noAttachments;
  realStatus.attachments = std::vector<SampleAttachments>{{{frameInfoStatusKey, 0.0}}};
  renderer->didOutputSampleBuffer(realStatus, StreamOutputType::screen);
  refreshes(2);
  EXPECT_EQ(commits(), 1) << "a status written as a whole double reads as complete";
  EXPECT_EQ(counts().captures, 1);
}

TEST_F(ScreenRendererTest, FailuresReachTheOwnerOnTheMainLoop) {
  renderer->startRendering();

  // The frame cannot be viewed as a texture: reported at once, the slot given back.
  world.gpu.textureStatus = -6660;
  deliver(1);
  loop.runUntilIdle();
  EXPECT_EQ(failures, (std::vector<std::string>{"Could not read a captured frame as a Metal texture (-6660)."}));
  EXPECT_EQ(commits(), 0);
  world.gpu.textureStatus.reset();
  deliver(2);
  refreshes(2);
  EXPECT_EQ(commits(), 1);
  EXPECT_EQ(shown, (std::vector<std::uint32_t>{2}));

  // The command buffer fails on the GPU.
  failures.clear();
  world.gpu.executionError = PlatformError("MTLCommandBufferErrorDomain", 2, "Discarded (victim of GPU error).");
  deliver(3);
  loop.runUntilIdle();
  world.gpu.executionError.reset();
  world.gpu.runGpuWork();
  EXPECT_TRUE(failures.empty()) << "the completion only posts the failure";
  settle();
  EXPECT_EQ(failures, (std::vector<std::string>{"Discarded (victim of GPU error)."}));
  EXPECT_EQ(view->drawablesInUse(), 0u) << "an unpresented drawable goes back to the pool";

  // The stream stops on its own, reported from the stream's own thread.
  failures.clear();
  sim::ManualSerialQueue delegateQueue("sim.capture.delegate", loop);
  sim::SimCaptureStream stream(renderer, delegateQueue);
  stream.stopWithError(PlatformError("SCStreamErrorDomain", -3815, "The display was disconnected."));
  std::thread platformThread([&] { delegateQueue.drain(); });
  platformThread.join();
  EXPECT_TRUE(failures.empty());
  settle();
  EXPECT_EQ(failures, (std::vector<std::string>{"The display was disconnected."}));
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

  auto second = ScreenRenderer::make(loop, world.gpu, QuarterTurn::right, 60);
  std::dynamic_pointer_cast<sim::SimGpuView>(second->view())->resizeDrawable(frameHeight, frameWidth);
  world.gpu.renderEncoderMissing = false;
  int calls = 0;
  second->onFirstFrameRendered = [&] {
    ++calls;
    second->invalidate();
  };
  second->startRendering();
  second->didOutputSampleBuffer(sim::SimSampleBuffer::frame(numberedFrame(1)), StreamOutputType::screen);
  refreshes(2);
  EXPECT_EQ(calls, 1);
}

TEST_F(ScreenRendererTest, QueuedWorkDoesNothingOnceTheRendererIsGone) {
  world.gpu.passDurationSeconds = 0.004;
  renderer->startRendering();
  deliver(1);
  loop.runUntilIdle();
  deliver(2);  // a draw request queued on the main loop
  renderer->didStopWithError(PlatformError("SCStreamErrorDomain", 1, "stopped"));
  std::weak_ptr<ScreenRenderer> gone = renderer;
  renderer.reset();
  EXPECT_TRUE(gone.expired());
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
