#include <gtest/gtest.h>

#include "sim/ManualLoop.h"
#include "sim/World.h"

using namespace turnlet;

class SimDisplays : public ::testing::Test {
 protected:
  sim::ManualLoop loop;
  sim::World world{loop};
  sim::DisplayServer& displays = world.displays;
  int notified = 0;
  void SetUp() override {
    displays.addScreenParametersObserver([this] { ++notified; });
  }
  Point origin(DisplayID id) { return displays.bounds(id).origin; }
};

TEST_F(SimDisplays, DefaultWorldIsABuiltInMacWithASidecarIPadToItsRight) {
  auto screens = displays.screens();
  ASSERT_EQ(screens.size(), 2u);
  EXPECT_EQ(screens[0].screenNumber, 1);
  EXPECT_EQ(screens[1].localizedName, "Sidecar Display (AirPlay)");
  // Screen frames have a bottom-left origin: the iPad is 124 points taller than the Mac's display.
  EXPECT_EQ(screens[1].frame, Rect(1440, -124, 1366, 1024));
  EXPECT_EQ(displays.mainDisplayID(), 1u);
  EXPECT_TRUE(displays.isBuiltin(1));
  EXPECT_EQ(displays.currentModePixelSize(2), (PixelSize{2732, 2048}));
  EXPECT_EQ(displays.currentModePixelSize(99), std::nullopt);
  EXPECT_EQ(displays.bounds(99), Rect());
}

TEST_F(SimDisplays, CompletedTransactionMovesAllOriginsAtOnceAndNotifiesOnTheLoop) {
  std::optional<DisplayConfiguration> config;
  ASSERT_EQ(displays.beginConfiguration(config), 0);
  ASSERT_TRUE(config);
  EXPECT_EQ(displays.configureOrigin(*config, 2, -1366, 0), 0);
  EXPECT_EQ(displays.configureOrigin(*config, 1, 0, 0), 0);
  EXPECT_EQ(origin(2), (Point{1440, 0}));  // nothing moves before completion
  EXPECT_EQ(displays.completeConfiguration(*config, 0), 0);
  EXPECT_EQ(origin(2), (Point{-1366, 0}));
  EXPECT_EQ(notified, 0);  // posted, not delivered inside the call
  loop.runUntilIdle();
  EXPECT_EQ(notified, 1);
  ASSERT_EQ(displays.completedLayouts().size(), 1u);
  EXPECT_EQ(displays.completedLayouts()[0].origins.size(), 2u);
}

TEST_F(SimDisplays, CancelledOrFailedTransactionsChangeNothing) {
  std::optional<DisplayConfiguration> config;
  displays.beginConfiguration(config);
  displays.configureOrigin(*config, 2, 5000, 5000);
  EXPECT_EQ(displays.cancelConfiguration(*config), 0);
  EXPECT_EQ(displays.completeConfiguration(*config, 0), 1001);  // a cancelled handle is dead

  displays.failComplete = 1004;
  displays.beginConfiguration(config);
  displays.configureOrigin(*config, 2, 5000, 5000);
  EXPECT_EQ(displays.completeConfiguration(*config, 0), 1004);
  displays.cancelConfiguration(*config);

  displays.failComplete.reset();
  displays.failOrigin = {{1, -7}};
  displays.beginConfiguration(config);
  EXPECT_EQ(displays.configureOrigin(*config, 1, 0, 0), 0);
  EXPECT_EQ(displays.configureOrigin(*config, 2, 5000, 5000), -7);
  displays.cancelConfiguration(*config);

  displays.failBegin = 1000;
  EXPECT_EQ(displays.beginConfiguration(config), 1000);
  EXPECT_FALSE(config);
  displays.failBegin.reset();
  displays.beginWithoutConfiguration = true;
  EXPECT_EQ(displays.beginConfiguration(config), 0);
  EXPECT_FALSE(config);

  loop.runUntilIdle();
  EXPECT_EQ(origin(2), (Point{1440, 0}));
  EXPECT_EQ(notified, 0);
  EXPECT_TRUE(displays.completedLayouts().empty());
  EXPECT_EQ(displays.cancelledConfigurations(), 3);
}

TEST_F(SimDisplays, ReconnectionGivesAFreshIdAndKeepsTheUuid) {
  const auto uuid = displays.uuidString(2);
  displays.disconnect(2);
  EXPECT_FALSE(displays.isOnline(2));
  EXPECT_EQ(displays.uuidString(2), std::nullopt);
  const DisplayID fresh = displays.reconnect(2);
  EXPECT_NE(fresh, 2u);
  EXPECT_TRUE(displays.isOnline(fresh));
  EXPECT_EQ(displays.uuidString(fresh), uuid);
  displays.setBounds(fresh, Rect(1440, 0, 1024, 1366));
  loop.runUntilIdle();
  EXPECT_EQ(notified, 3);  // removed, added, resized
}

TEST_F(SimDisplays, RemovedObserverIsNotCalledEvenWithinARound) {
  int second = 0;
  DisplayServices::ObserverToken secondToken = 0;
  displays.addScreenParametersObserver([&] { displays.removeScreenParametersObserver(secondToken); });
  secondToken = displays.addScreenParametersObserver([&] { ++second; });
  displays.setMain(2);
  loop.runUntilIdle();
  EXPECT_EQ(second, 0);
  EXPECT_EQ(notified, 1);
}
