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
  std::optional<DisplayConfiguration> config;
  void SetUp() override { displays.addScreenParametersObserver([this] { ++notified; }); }
  Point origin(DisplayID id) { return displays.bounds(id).origin; }
  // Begins a transaction that moves the iPad far away.
  void beginMovingTheIPad() {
    ASSERT_EQ(displays.beginConfiguration(config), 0);
    ASSERT_EQ(displays.configureOrigin(*config, 2, 5000, 5000), 0);
  }
};

TEST_F(SimDisplays, DefaultWorldIsABuiltInMacWithASidecarIPadToItsRight) {
  auto screens = displays.screens();
  ASSERT_EQ(screens.size(), 2u);
  EXPECT_EQ(screens[1].localizedName, "Sidecar Display (AirPlay)");
  // Screen frames have a bottom-left origin: the iPad is 124 points taller than the Mac's display.
  EXPECT_EQ(screens[1].frame, Rect(1440, -124, 1366, 1024));
  EXPECT_TRUE(displays.isBuiltin(displays.mainDisplayID()));
  EXPECT_EQ(displays.currentModePixelSize(2), (PixelSize{2732, 2048}));
  EXPECT_EQ(displays.currentModePixelSize(99), std::nullopt);
}

TEST_F(SimDisplays, ACompletedTransactionMovesAllOriginsAtOnceAndNotifiesOnTheLoop) {
  beginMovingTheIPad();
  EXPECT_EQ(displays.configureOrigin(*config, 1, -1440, 0), 0);
  EXPECT_EQ(origin(2), (Point{1440, 0}));  // nothing moves before completion
  EXPECT_EQ(displays.completeConfiguration(*config, 0), 0);
  EXPECT_EQ(origin(2), (Point{5000, 5000}));
  EXPECT_EQ(origin(1), (Point{-1440, 0}));
  EXPECT_EQ(notified, 0);  // posted, not delivered inside the call
  loop.runUntilIdle();
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(displays.deadConfigurationUses(), 0);
}

TEST_F(SimDisplays, CompletingOrCancellingEndsTheConfigurationEvenWhenItFails) {
  const struct {
    const char* name;
    std::optional<DisplayError> failComplete;
    bool cancel;
    DisplayError result;
  } rows[] = {{"cancelled", std::nullopt, true, 0}, {"completion failed", 1004, false, 1004}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    displays.failComplete = row.failComplete;
    beginMovingTheIPad();
    EXPECT_EQ(row.cancel ? displays.cancelConfiguration(*config) : displays.completeConfiguration(*config, 0), row.result);
    EXPECT_FALSE(displays.configurationOpen());
    // The handle is dead: any later use is refused and counted as the fault it is.
    const int deadBefore = displays.deadConfigurationUses();
    EXPECT_EQ(displays.cancelConfiguration(*config), 1001);
    EXPECT_EQ(displays.completeConfiguration(*config, 0), 1001);
    EXPECT_EQ(displays.configureOrigin(*config, 2, 0, 0), 1001);
    EXPECT_EQ(displays.deadConfigurationUses(), deadBefore + 3);
  }
  loop.runUntilIdle();
  EXPECT_EQ(origin(2), (Point{1440, 0}));
  EXPECT_EQ(notified, 0);
  EXPECT_TRUE(displays.completedLayouts().empty());
  EXPECT_EQ(displays.cancelledConfigurations(), 1);
}

TEST_F(SimDisplays, ReconnectionGivesAFreshIdAndKeepsTheUuid) {
  const auto uuid = displays.uuidString(2);
  displays.disconnect(2);
  EXPECT_FALSE(displays.isOnline(2));
  const DisplayID fresh = displays.reconnect(2);
  EXPECT_NE(fresh, 2u);
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
