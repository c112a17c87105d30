#include <cmath>
#include <limits>
#include <string>

#include "brightness/BrightnessFollower.h"
#include "brightness/BrightnessShadeWindow.h"
#include "presentation/WindowFixture.h"

using namespace turnlet;

namespace {

const WindowFrame ipadScreen{1440, -124, 1366, 1024};
constexpr double easeOutAtHalfTime = 0.684643;

class BrightnessTest : public WindowFixture {
 protected:
  std::shared_ptr<BrightnessFollower> follower;
  std::shared_ptr<BrightnessShadeWindow> shade;
  int changes = 0;
  void SetUp() override {
    dropObjects = [this] {
      follower.reset();
      shade.reset();
    };
  }
  void follow(double brightness) {
    world.libraries.setBrightness(1, brightness);
    follower = BrightnessFollower::make(loop, world.displays, world.windows, world.libraries);
    follower->onChange = [this] { ++changes; };
    follower->setEnabled(true);
  }
};

TEST_F(BrightnessTest, ShadeDarkensTheIPadAlongTheCurve) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Row {
    double brightness;
    std::optional<double> opacity;  // absent: unavailable
    const char* percent;
  } rows[] = {
      {0, 1, "0"},        {0.05, 0.886, "5"}, {0.1, 0.828, "10"}, {0.125, 0.8125, "13"},
      {0.25, 0.75, "25"}, {0.5, 0.5, "50"},   {1, 0, "100"},      {-0.0, 1, "0"},
      {1.0001, {}, ""},   {-0.1, {}, ""},     {nan, {}, ""},      {1e300, {}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.brightness);
    follow(row.brightness);
    EXPECT_EQ(follower->status(), row.opacity ? std::string("Software dimming · Following ") + row.percent + "%"
                                              : "Main display brightness is unavailable");
    const sim::ServerWindow* w = onlyWindow();
    if (row.opacity.value_or(0) > 0) {
      ASSERT_TRUE(w);
      EXPECT_EQ(w->frame(), ipadScreen);
      EXPECT_EQ(w->properties().level, 1001);
      EXPECT_TRUE(w->properties().ignoresMouseEvents && !w->properties().opaque);
      loop.advance(0.125);
      EXPECT_NEAR(w->alphaValue(), *row.opacity * easeOutAtHalfTime, 1e-5);
      loop.advance(0.125);
      EXPECT_NEAR(w->alphaValue(), *row.opacity, 1e-6);
    } else {
      EXPECT_FALSE(w);
    }
    loop.advance(0.6);  // three more samples of the same value
    EXPECT_EQ(changes, 1);
    follower->setEnabled(false);
    EXPECT_EQ(follower->status(), "Software dimming · Off");
    EXPECT_TRUE(world.windows.windows().empty());
    EXPECT_EQ(loop.pendingTimerCount(), 0u);
    follower.reset();
    EXPECT_EQ(world.libraries.openLibraries(), 0);
    changes = 0;
  }
  EXPECT_EQ(world.libraries.openModes().front(), 5);
}

TEST_F(BrightnessTest, UnreadableBrightnessClearsByItselfWhenReadingWorksAgain) {
  struct Row {
    const char* name;
    std::function<void(sim::SimLibraryLoader&, bool)> fault;
    bool clears;
  } rows[] = {
      {"library missing", [](sim::SimLibraryLoader& l, bool on) { l.libraryMissing = on; }, false},
      {"symbol missing", [](sim::SimLibraryLoader& l, bool on) { l.symbolMissing = on; }, false},
      {"non-zero result", [](sim::SimLibraryLoader& l, bool on) { l.failBrightness = on ? std::optional(-3) : std::nullopt; }, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    row.fault(world.libraries, true);
    follow(0.5);
    EXPECT_EQ(follower->status(), "Main display brightness is unavailable");
    row.fault(world.libraries, false);
    loop.advance(0.2);
    EXPECT_EQ(follower->status(), row.clears ? "Software dimming · Following 50%" : "Main display brightness is unavailable");
    follower.reset();
  }
}

TEST_F(BrightnessTest, FollowsTheIPadOnlyWhileItIsFoundAndNotMain) {
  follow(0.5);
  world.displays.setMain(2);  // the iPad as main display is no iPad to dim
  loop.advance(0.2);
  EXPECT_EQ(follower->status(), "Software dimming · Waiting for Sidecar");
  EXPECT_TRUE(world.windows.windows().empty());
  world.displays.setMain(1);
  loop.advance(0.2);
  ASSERT_TRUE(onlyWindow());
  // A screen number that no display id can be is never cut down to one.
  world.displays.screenListOverride = {{{1, "Mac", Rect(0, 0, 1440, 900)}, {(std::int64_t{1} << 32) + 2, "iPad", Rect()}}};
  follower->preferredDisplayID = 2;
  follower->refreshDisplays();
  EXPECT_EQ(follower->status(), "Software dimming · Waiting for Sidecar");
  EXPECT_TRUE(world.windows.windows().empty());
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
}

TEST_F(BrightnessTest, EnablingTwiceMakesOneObserverAndOneTimer) {
  int searches = 0, reads = 0;
  DisplayID main = 1;
  follower = BrightnessFollower::make(
      loop, world.displays,
      {[&](DisplayID) { return ++reads, std::optional(-0.0); }, [&] { return main; },
       [&](std::optional<DisplayID>) { return ++searches, std::optional(BrightnessFollower::Destination{2, ipadScreen}); },
       [&] { return std::static_pointer_cast<BrightnessShade>(BrightnessShadeWindow::make(world.windows)); }});
  follower->setEnabled(true);
  follower->setEnabled(true);
  EXPECT_EQ(follower->status(), "Software dimming · Following 0%");
  world.displays.setBounds(2, Rect(1440, 0, 1366, 1024));
  loop.advance(0.2);
  EXPECT_EQ(searches, 2);
  EXPECT_EQ(reads, 3);
  ASSERT_TRUE(onlyWindow());
  main = 2;
  loop.advance(0.2);
  EXPECT_EQ(follower->status(), "Software dimming · Keep your Mac as main display");
  EXPECT_FALSE(onlyWindow());
}

TEST_F(BrightnessTest, OwnerSwitchingOffFromItsCallbackLeavesNoTimer) {
  follow(0.5);
  follower->setEnabled(false);
  follower->onChange = [this] { follower->setEnabled(false); };
  follower->setEnabled(true);
  EXPECT_FALSE(follower->isEnabled());
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
}

TEST_F(BrightnessTest, StaleFadeCompletionsDoNothing) {
  shade = BrightnessShadeWindow::make(world.windows);
  shade->show(ipadScreen, 0.4);
  loop.advance(0.1);
  shade->show(ipadScreen, 0);  // the first fade's completion now belongs to an older transition
  loop.runUntilIdle();
  ASSERT_TRUE(onlyWindow());
  EXPECT_TRUE(onlyWindow()->isVisible());
  loop.advance(0.25);
  EXPECT_FALSE(onlyWindow()->isVisible());
  shade->show(ipadScreen, 0);
  EXPECT_EQ(world.windows.animationsStarted(), 2);  // an unchanged opacity starts nothing
  shade->show(ipadScreen, 0.5);
  loop.advance(0.3);
  shade->show(ipadScreen, 0);
  shade->close();  // during the fade-out
  shade.reset();
  loop.advance(1);
}

}  // namespace
