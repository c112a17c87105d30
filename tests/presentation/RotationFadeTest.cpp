#include <functional>
#include <string>

#include "presentation/RotationFade.h"
#include "presentation/WindowFixture.h"

using namespace turnlet;

namespace {

// A 1440 × 900 main display and a 1024 × 1366 iPad to its right, top edges aligned.
sim::WorldDescription tallIPadWorld() {
  sim::WorldDescription world = sim::defaultWorld();
  world.displays[1].bounds = Rect(1440, 0, 1024, 1366);
  return world;
}

class RotationFadeTest : public WindowFixture {
 protected:
  RotationFadeTest() : WindowFixture(tallIPadWorld()) {}
  std::shared_ptr<RotationFade> fade;
  void SetUp() override {
    dropObjects = [this] { fade.reset(); };
  }
  DisplayInfo ipad() { return DisplayInfo::online(world.displays).at(1); }
  // Covers as the session does and reports when the fade-in returns.
  void coverIn(bool& done) {
    spawn(loop, [](std::shared_ptr<RotationFade> f, bool& done) -> Task<void> {
      f->updateFrame();
      if (f->window()) f->window()->orderFrontRegardless();
      co_await f->animate(1.0, 0.14);
      done = true;
    }(fade, done));
  }
};

TEST_F(RotationFadeTest, CoverFollowsTheIPadInWindowCoordinatesOfTheMainDisplay) {
  fade = RotationFade::make(world.displays, world.windows, ipad());
  const auto* w = world.windows.windows().at(0);
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(w->alphaValue(), 0);
  EXPECT_EQ(w->properties().level, 1002);
  EXPECT_EQ(w->properties().animationBehavior, WindowAnimationBehavior::none);
  fade->updateFrame();
  EXPECT_EQ(w->frame(), (WindowFrame{1440, 900 - 1366, 1024, 1366}));
  fade->updateFrame();
  EXPECT_EQ(w->frameChanges(), 1);  // an unchanged frame is not set again
  world.displays.setBounds(2, Rect(-1024, -100, 1024, 1366));  // moved: the notification follows it
  loop.runUntilIdle();
  EXPECT_EQ(w->frame(), (WindowFrame{-1024, 900 - 1266, 1024, 1366}));
}

TEST_F(RotationFadeTest, FollowsOnlyTheSameDisplayAndClosesOtherwise) {
  struct Row {
    const char* name;
    std::function<void(DisplayInfo&)> remembered;
    std::function<void(sim::DisplayServer&)> change;
    bool followed;
  } rows[] = {
      {"same display", [](DisplayInfo&) {}, [](sim::DisplayServer&) {}, true},
      {"no identity remembered", [](DisplayInfo& d) { d.persistentID.reset(); }, [](sim::DisplayServer&) {}, true},
      {"other vendor", [](DisplayInfo& d) { d.vendor = 7; }, [](sim::DisplayServer&) {}, false},
      {"other identity", [](DisplayInfo& d) { d.persistentID = "X"; }, [](sim::DisplayServer&) {}, false},
      {"mirrored now", [](DisplayInfo&) {}, [](sim::DisplayServer& s) { s.setMirrored(2, true); }, false},
      {"gone", [](DisplayInfo&) {}, [](sim::DisplayServer& s) { s.disconnect(2); }, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayInfo remembered = ipad();
    row.remembered(remembered);
    fade = RotationFade::make(world.displays, world.windows, remembered);
    row.change(world.displays);
    loop.runUntilIdle();
    fade->updateFrame();
    EXPECT_EQ(fade->window() != nullptr, row.followed);
    EXPECT_EQ(world.windows.windows().size(), row.followed ? 1u : 0u);
    fade.reset();
    if (!world.displays.find(2)) world.displays.reconnect(2);
    world.displays.setMirrored(2, false);
    loop.runUntilIdle();
  }
}

TEST_F(RotationFadeTest, FadeInRunsEaseInEaseOutAndReturnsWhenItEnds) {
  fade = RotationFade::make(world.displays, world.windows, ipad());
  bool done = false;
  coverIn(done);
  loop.runUntilIdle();
  const auto* w = world.windows.windows().at(0);
  EXPECT_TRUE(w->isVisible());
  loop.advance(0.035);
  EXPECT_NEAR(w->alphaValue(), 0.129162, 1e-5);  // a quarter of the time
  loop.advance(0.035);
  EXPECT_NEAR(w->alphaValue(), 0.5, 1e-5);
  EXPECT_FALSE(done);
  loop.advance(0.07);
  EXPECT_TRUE(done);
  EXPECT_EQ(w->alphaValue(), 1);
}

TEST_F(RotationFadeTest, PendingFadeReturnsAndLeavesNothingWhenTheIPadGoesOrChanges) {
  const std::function<void(sim::DisplayServer&)> changes[] = {
      [](sim::DisplayServer& s) { s.disconnect(2); },
      [](sim::DisplayServer& s) {
        auto other = *s.find(2);
        other.vendor = 0x1234;
        s.disconnect(2);
        s.connect(other);
      },
  };
  for (const auto& change : changes) {
    fade = RotationFade::make(world.displays, world.windows, ipad());
    bool done = false;
    coverIn(done);
    loop.advance(0.05);
    change(world.displays);
    loop.runUntilIdle();
    EXPECT_TRUE(done);
    EXPECT_FALSE(fade->window());
    EXPECT_TRUE(world.windows.windows().empty());
    fade.reset();
    world.displays.setUp(tallIPadWorld().displays, 1);
  }
}

TEST_F(RotationFadeTest, ReduceMotionAndClosedFadesDoNotAnimate) {
  world.windows.reduceMotion = true;
  fade = RotationFade::make(world.displays, world.windows, ipad());
  bool done = false;
  coverIn(done);
  loop.runUntilIdle();
  EXPECT_TRUE(done);
  EXPECT_EQ(world.windows.windows().at(0)->alphaValue(), 1);
  fade->close();
  fade->close();
  world.windows.reduceMotion = false;
  done = false;
  coverIn(done);
  world.displays.setBounds(2, Rect(0, 0, 10, 10));  // a notification after close does nothing
  loop.runUntilIdle();
  EXPECT_TRUE(done);
  EXPECT_EQ(world.windows.animationsStarted(), 0);
}

}  // namespace
