#include <cmath>
#include <functional>

#include "presentation/RotationFade.h"
#include "presentation/WindowFixture.h"

using namespace turnlet;

namespace {

class RotationFadeTest : public WindowFixture {
 protected:
  std::shared_ptr<RotationFade> fade;
  bool done = false;
  // A 1440 × 900 main display and a 1024 × 1366 iPad to its right, top edges aligned.
  void SetUp() override {
    world.displays.setUp(sim::defaultWorld().displays, 1);
    world.displays.setBounds(2, Rect(1440, 0, 1024, 1366));
    dropObjects = [this] { fade.reset(); };
  }
  void makeFade(DisplayInfo display) { fade = RotationFade::make(world.displays, world.windows, display); }
  DisplayInfo ipad() { return DisplayInfo::online(world.displays).at(1); }
  // Covers as the session does; done tells when the fade-in has returned.
  void coverIn() {
    done = false;
    spawn(loop, [](std::shared_ptr<RotationFade> f, bool& done) -> Task<void> {
      f->updateFrame();
      if (f->window()) f->window()->orderFrontRegardless();
      co_await f->animate(1.0, 0.14);
      done = true;
    }(fade, done));
  }
};

TEST_F(RotationFadeTest, CoverFollowsTheIPadInWindowCoordinatesAndFadesEaseInEaseOut) {
  makeFade(ipad());
  const auto* w = onlyWindow();
  EXPECT_TRUE(!w->isVisible() && w->alphaValue() == 0 && w->properties().level == 1002);
  coverIn();
  loop.runUntilIdle();
  EXPECT_EQ(w->frame(), (WindowFrame{1440, 900 - 1366, 1024, 1366}));
  loop.advance(0.035);
  EXPECT_NEAR(w->alphaValue(), 0.129162, 1e-5);  // a quarter of the time
  loop.advance(0.035);
  EXPECT_TRUE(std::abs(w->alphaValue() - 0.5) < 1e-5 && !done);
  loop.advance(0.07);
  EXPECT_TRUE(done && w->alphaValue() == 1);
  fade->updateFrame();
  EXPECT_EQ(w->frameChanges(), 1);  // an unchanged frame is not set again
  world.displays.setBounds(2, Rect(-1024, -100, 1024, 1366));  // the notification follows the move
  loop.runUntilIdle();
  EXPECT_EQ(w->frame(), (WindowFrame{-1024, 900 - 1266, 1024, 1366}));
}

TEST_F(RotationFadeTest, FollowsOnlyTheSameDisplayAndClosesOtherwise) {
  struct Row {
    const char* name;
    std::function<void(DisplayInfo& remembered, sim::DisplayServer&)> change;
    bool followed;
  } rows[] = {
      {"same display", [](DisplayInfo&, sim::DisplayServer&) {}, true},
      {"no identity remembered", [](DisplayInfo& d, sim::DisplayServer&) { d.persistentID.reset(); }, true},
      {"other vendor", [](DisplayInfo& d, sim::DisplayServer&) { d.vendor = 7; }, false},
      {"other identity", [](DisplayInfo& d, sim::DisplayServer&) { d.persistentID = "X"; }, false},
      {"mirrored now", [](DisplayInfo&, sim::DisplayServer& s) { s.setMirrored(2, true); }, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayInfo remembered = ipad();
    row.change(remembered, world.displays);
    makeFade(remembered);
    fade->updateFrame();
    EXPECT_EQ(fade->window() != nullptr, row.followed);
    EXPECT_EQ(world.windows.windows().size(), row.followed ? 1u : 0u);
    fade.reset();
    world.displays.setMirrored(2, false);
  }
}

TEST_F(RotationFadeTest, PendingFadeReturnsAndLeavesNothingWhenTheIPadGoesOrChanges) {
  const std::function<void(sim::DisplayServer&)> changes[] = {
      [](sim::DisplayServer& s) { s.disconnect(2); },
      [](sim::DisplayServer& s) {  // both changes land before the notification is read
        auto other = *s.find(2);
        other.vendor = 0x1234;
        s.disconnect(2);
        s.connect(other);
      },
  };
  for (const auto& change : changes) {
    makeFade(ipad());
    coverIn();
    loop.advance(0.05);
    change(world.displays);
    loop.runUntilIdle();
    EXPECT_TRUE(done && !fade->window() && world.windows.windows().empty());
    SetUp();
  }
}

TEST_F(RotationFadeTest, ReduceMotionAndClosedFadesDoNotAnimate) {
  world.windows.reduceMotion = true;
  makeFade(ipad());
  coverIn();
  loop.runUntilIdle();
  EXPECT_TRUE(done && onlyWindow()->alphaValue() == 1);
  fade->close();
  fade->close();  // harmless
  world.windows.reduceMotion = false;
  coverIn();
  world.displays.setBounds(2, Rect(0, 0, 10, 10));  // a notification after close does nothing
  loop.runUntilIdle();
  EXPECT_TRUE(done && world.windows.animationsStarted() == 0);
}

}  // namespace
