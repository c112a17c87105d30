#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

#include "sim/system/ManualLoop.h"
#include "sim/world/World.h"

using namespace turnlet;

class SimDisplays : public ::testing::Test {
 protected:
  sim::ManualLoop loop;
  sim::World world{loop};
  sim::DisplayServer& displays = world.displays;
  int notified = 0;
  void SetUp() override {
    displays.addScreenParametersObserver([this] { ++notified; });
    world.capture.fetchesBeforeListed = 0;
  }
  // The iPad as the latest fetch of shareable content lists it.
  CaptureDisplay fetchIPad() {
    ShareableContent content;
    world.capture.getShareableContent(false, false, [&](auto c, auto) { content = *c; });
    loop.advance(0.1);
    return content.displays.at(1);
  }
};

TEST_F(SimDisplays, CompletingOrCancellingEndsTheConfigurationEvenWhenItFails) {
  for (const bool cancel : {true, false}) {
    std::optional<DisplayConfiguration> config;
    displays.failComplete = 1004;
    ASSERT_EQ(displays.beginConfiguration(config), 0);
    ASSERT_EQ(displays.configureOrigin(*config, 2, 5000, 5000), 0);
    EXPECT_EQ(cancel ? displays.cancelConfiguration(*config) : displays.completeConfiguration(*config, 0),
              cancel ? 0 : 1004);
    EXPECT_FALSE(displays.configurationOpen());
    // The handle is dead: any later use is refused and counted as the fault it is.
    const int deadBefore = displays.deadConfigurationUses();
    EXPECT_EQ(displays.cancelConfiguration(*config), 1001);
    EXPECT_EQ(displays.completeConfiguration(*config, 0), 1001);
    EXPECT_EQ(displays.configureOrigin(*config, 2, 0, 0), 1001);
    EXPECT_EQ(displays.deadConfigurationUses(), deadBefore + 3);
  }
  loop.runUntilIdle();
  EXPECT_EQ(displays.bounds(2).origin, (Point{1440, 0}));
  EXPECT_EQ(notified, 0);
  EXPECT_EQ(displays.cancelledConfigurations(), 1);
}

TEST_F(SimDisplays, RemovedObserverIsNotCalledEvenWithinARound) {
  int second = 0, secondToken = 0;
  displays.addScreenParametersObserver([&] { displays.removeScreenParametersObserver(secondToken); });
  secondToken = displays.addScreenParametersObserver([&] { ++second; });
  displays.setMain(2);
  loop.runUntilIdle();
  EXPECT_EQ(second, 0);
  EXPECT_EQ(notified, 1);
}

TEST_F(SimDisplays, AStreamStartsOnlyFromADisplayHandleOfTheLatestFetch) {
  auto start = [&](const CaptureDisplay& display) {
    std::optional<PlatformError> outcome = PlatformError("", 0, "not answered");
    auto stream = world.capture.makeStream({display, {}}, {}, nullptr);
    stream->startCapture([&](auto e) { outcome = e; });
    loop.advance(0.1);
    return outcome ? outcome->code() : 0;
  };
  const CaptureDisplay earlier = fetchIPad();
  const CaptureDisplay latest = fetchIPad();
  EXPECT_EQ(latest.displayID, earlier.displayID);
  EXPECT_EQ(start(earlier), -3812) << "a handle of an earlier fetch";
  EXPECT_EQ(start({latest.displayID, latest.width, latest.height, nullptr}), -3812) << "numbers without a handle";
  EXPECT_EQ(start(latest), 0);
}

namespace {
// Keeps every picture it is handed, as a lagging consumer would.
struct HoldingOutput : StreamOutput {
  void didOutputSampleBuffer(const SampleBuffer& sample, StreamOutputType) override {
    if (auto image = sample.imageBuffer()) held.push_back(image);
  }
  std::vector<std::shared_ptr<PixelBuffer>> held;
};
}  // namespace

TEST_F(SimDisplays, AStreamWritesIntoQueueDepthSurfacesAndDropsFramesWhileAllAreHeld) {
  world.capture.pictureSource = nullptr;  // every frame new
  world.capture.changeCount = nullptr;
  StreamConfiguration configuration;
  configuration.width = configuration.height = 4;
  configuration.queueDepth = 3;
  auto output = std::make_shared<HoldingOutput>();
  auto stream = world.capture.makeStream({fetchIPad(), {}}, configuration, nullptr);
  stream->addStreamOutput(output, StreamOutputType::screen, world.capture.makeSampleQueue("frames", {}));
  stream->startCapture([](auto) {});
  loop.advance(0.01);
  auto frames = [&](int count) {
    for (int i = 0; i < count; ++i) loop.advance(1.0 / 60);
    return std::pair(output->held.size(), world.capture.framesDropped());
  };
  EXPECT_EQ(frames(4), std::pair(std::size_t{3}, std::uint64_t{2})) << "three surfaces, then drops";
  auto second = output->held[1];
  std::thread([&] { output->held.erase(output->held.begin(), output->held.begin() + 2); }).join();
  EXPECT_EQ(frames(1), std::pair(std::size_t{2}, std::uint64_t{2})) << "one surface back; the other still held";
  second.reset();
  EXPECT_EQ(frames(2), std::pair(std::size_t{3}, std::uint64_t{3})) << "the last holder let go";
}
