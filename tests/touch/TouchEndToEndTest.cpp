#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>

#include "TouchSimFixture.h"
#include "display/AppFailure.h"

using namespace turnlet;
using namespace turnlet::test;
using E = sim::SimInputEvent;

namespace {

int phase(const E& e) { return int(e.field(EventField::scrollWheelEventScrollPhase)); }
int momentum(const E& e) { return int(e.field(EventField::scrollWheelEventMomentumPhase)); }
std::vector<E> mouse(const std::vector<E>& all) {
  std::vector<E> list;
  for (const auto& e : all)
    if (!e.isScroll && e.type != MouseEventType::mouseMoved) list.push_back(e);
  return list;
}

// No button left down and no scroll or momentum phase left open by what the application got.
void expectClosed(const std::vector<E>& all) {
  int left = 0, right = 0;
  bool scrolling = false, coasting = false;
  for (const auto& e : all) {
    if (!e.isScroll) {
      left += (e.type == MouseEventType::leftMouseDown) - (e.type == MouseEventType::leftMouseUp);
      right += (e.type == MouseEventType::rightMouseDown) - (e.type == MouseEventType::rightMouseUp);
    } else if (phase(e) == 1 || phase(e) == 2) {
      scrolling = true;
    } else if (phase(e) == 4 || phase(e) == 8) {
      EXPECT_FALSE(phase(e) == 8 && coasting) << "a scroll cancelled while coasting leaves a lone momentum end";
      scrolling = false;
    } else if (momentum(e) == 1) {
      EXPECT_FALSE(coasting) << "momentum begins twice";
      coasting = true;
    } else if (momentum(e) == 3) {
      EXPECT_TRUE(coasting) << "a momentum end without its beginning";
      coasting = false;
    }
  }
  EXPECT_EQ(left, 0) << "left button held";
  EXPECT_EQ(right, 0) << "right button held";
  EXPECT_FALSE(scrolling) << "scroll phase open";
  EXPECT_FALSE(coasting) << "momentum open";
}

// Exactly where the finger ends, up to the last bit of the mapping from the view.
void expectAt(TouchSim& sim, Point origin) {
  const Point at = sim.world.windows.appWindow(appWindow)->bounds.origin;
  EXPECT_NEAR(at.x, origin.x, 1e-9);
  EXPECT_NEAR(at.y, origin.y, 1e-9);
}

class TouchEndToEnd : public testing::TestWithParam<QuarterTurn> {
 protected:
  TouchSim sim{GetParam()};
  const Point p{1700, 230};  // inside the window, below its title bar, off its middle
};

TEST_P(TouchEndToEnd, TapsClickAtTheFingerAndCountUpToThree) {
  for (int i = 0; i < 4; ++i) sim.tap(p), sim.loop.advance(0.1);
  const auto clicks = mouse(sim.events());
  ASSERT_EQ(clicks.size(), 8u);
  const int counts[] = {1, 2, 3, 3};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(clicks[2 * i].type, MouseEventType::leftMouseDown);
    EXPECT_EQ(clicks[2 * i].clickCount, counts[i]) << "tap " << i;
    EXPECT_EQ(clicks[2 * i + 1].type, MouseEventType::leftMouseUp);
  }
  const E& down = clicks[0];
  EXPECT_NEAR(down.location->x, p.x, 1e-6);
  EXPECT_NEAR(down.location->y, p.y, 1e-6);
  EXPECT_NEAR(down.windowLocation->x, p.x - 1500, 1e-6);
  EXPECT_NEAR(down.windowLocation->y, 400 - p.y, 1e-6);
  EXPECT_EQ(down.windowNumber, appWindow);
  EXPECT_EQ(down.field(EventField::targetUnixProcessID), appPid);
  EXPECT_EQ(down.field(EventField::windowUnderMousePointerThatCanHandleThisEvent), appWindow);
  sim.loop.advance(1);
  sim.tap(p);
  EXPECT_EQ(mouse(sim.events()).back().clickCount, 1) << "after the interval the count starts again";
}

// A still hold right-clicks: the start-distance table below.
TEST_P(TouchEndToEnd, HoldThenMoveDrags) {
  sim.view->touchDown(1, sim.at(p));
  sim.loop.advance(0.6);
  sim.stroke(1, p, {p.x + 40, p.y + 30}, 10);
  auto drag = mouse(sim.events());
  ASSERT_GE(drag.size(), 3u);
  EXPECT_EQ(drag.front().type, MouseEventType::leftMouseDown);
  EXPECT_NEAR(drag.front().location->x, p.x, 1e-6);
  EXPECT_EQ(drag[1].type, MouseEventType::leftMouseDragged);
  EXPECT_EQ(drag.back().type, MouseEventType::leftMouseUp);
  EXPECT_NEAR(drag.back().location->x, p.x + 40, 1e-6);
  EXPECT_NEAR(drag.back().location->y, p.y + 30, 1e-6);
  expectClosed(sim.events());
}

TEST_P(TouchEndToEnd, SwipesScrollWithPhasesThenCoast) {
  for (int fingers : {1, 2}) {
    sim.world.inputEvents.posted.clear();
    // Two fingers move together, in one event per step, as the platform sends them. They start on
    // the title bar: only the two-finger pan may take them (an open-ended one-finger pan would win
    // and move the window).
    const Point start = fingers == 1 ? p : Point{1600, 110};
    for (int f = 1; f <= fingers; ++f) sim.view->touchDown(f, sim.at({start.x + 30 * (f - 1), start.y}));
    for (int i = 1; i <= 6; ++i) {
      sim.loop.advance(1.0 / 60);
      std::vector<std::pair<std::uint64_t, Point>> moves;
      for (int f = 1; f <= fingers; ++f) moves.push_back({f, sim.at({start.x + 30 * (f - 1), start.y + 20.0 * i})});
      sim.view->touchMoves(moves);
    }
    for (int f = 1; f <= fingers; ++f) sim.view->touchUp(f);
    sim.loop.advance(5);
    const auto all = sim.events();
    ASSERT_GE(all.size(), 5u) << fingers;
    std::vector<int> phases;
    for (const auto& e : all)
      if (e.isScroll) phases.push_back(phase(e) * 10 + momentum(e));
    EXPECT_EQ(phases.front(), 10) << fingers << " finger(s): began first";
    EXPECT_EQ(std::count(phases.begin(), phases.end(), 20), 5) << fingers << " finger(s): one scroll step per event";
    EXPECT_EQ(phases.back(), 3) << "a coast that ends by itself";
    EXPECT_NE(std::find(phases.begin(), phases.end(), 40), phases.end()) << "ended";
    EXPECT_NE(std::find(phases.begin(), phases.end(), 1), phases.end()) << "momentum began";
    bool down = false;
    for (const auto& e : all)
      if (e.isScroll && phase(e) == 2) down = down || e.wheels[0] > 0;
    EXPECT_TRUE(down) << "a finger moving down the desktop posts positive wheel deltas";
    // The coast posts on the momentum timer's grid of 1/60 s (a frame whose step rounds to nothing
    // posts nothing), never between.
    std::vector<double> coast;
    for (const auto& posted : sim.world.inputEvents.posted)
      if (posted.event.isScroll && momentum(posted.event) == 2) coast.push_back(posted.at);
    ASSERT_GE(coast.size(), 3u);
    for (std::size_t i = 1; i < coast.size(); ++i) {
      const double frames = (coast[i] - coast[i - 1]) * 60;
      EXPECT_TRUE(frames > 0.99 && std::abs(frames - std::round(frames)) < 0.01) << i << ": " << frames << " frames";
    }
    expectClosed(all);
  }
  EXPECT_TRUE(sim.world.accessibility.writes().empty()) << "no window move";
  expectAt(sim, TouchSim::window().bounds.origin);
  // A new finger ends the coast before its own events.
  sim.world.inputEvents.posted.clear();
  sim.stroke(1, p, {p.x, p.y + 120}, 6);
  sim.loop.advance(0.1);
  sim.tap(p);
  const auto all = sim.events();
  auto end = std::find_if(all.begin(), all.end(), [](const E& e) { return e.isScroll && momentum(e) == 3; });
  auto click = std::find_if(all.begin(), all.end(), [](const E& e) { return e.type == MouseEventType::leftMouseDown && !e.isScroll; });
  ASSERT_NE(end, all.end());
  EXPECT_LT(end - all.begin(), click - all.begin());
  expectClosed(all);
}

// The dragged window also comes to the front, over another application's window that was in front.
TEST_P(TouchEndToEnd, TitleBarDragMovesTheWindowToWhereTheFingerEndsAndRaisesIt) {
  sim.world.windows.applications.push_back({701, "Other", {{8, "Front", Rect(1700, 200, 300, 300), 1, 0, 28, true, true, {}}}});
  sim.world.windows.raiseAppWindow(8);
  const Point bar{1600, 110};
  sim.stroke(1, bar, {bar.x + 97, bar.y + 61}, 60);
  sim.settle();
  EXPECT_TRUE(sim.events().empty()) << "a window move posts no events";
  expectAt(sim, {1597, 161});
  EXPECT_EQ(sim.world.windows.appWindowsFrontToBack().front().second->number, appWindow);
  const auto writes = sim.world.accessibility.writes();
  ASSERT_GE(writes.size(), 2u);
  for (std::size_t i = 1; i < writes.size(); ++i)
    EXPECT_GE(writes[i].at - writes[i - 1].at, 1.0 / 60 - 1e-9) << "at most 60 writes a second, write " << i;
  // Away and back to the starting pixel: the window comes back too.
  sim.world.accessibility.positionWriteDelay = 0.05;
  const Point moved{1697, 171};
  sim.stroke(1, moved, {moved.x + 50, moved.y}, 10, false);
  for (int i = 10; i >= 0; --i) sim.loop.advance(1.0 / 60), sim.queues.drainAll(), sim.view->touchMove(1, sim.at({moved.x + 5.0 * i, moved.y}));
  sim.view->touchUp(1);
  sim.settle();
  expectAt(sim, {1597, 161});
}

TEST_P(TouchEndToEnd, InterruptionsLeaveNoButtonHeldAndNoPhaseOpen) {
  // The window closes during a drag; the release still goes to its process.
  sim.view->touchDown(1, sim.at(p));
  sim.loop.advance(0.6);
  sim.stroke(1, p, {p.x + 30, p.y}, 3, false);
  sim.world.windows.closeAppWindow(appWindow);
  sim.loop.advance(0.2);
  sim.view->touchMove(1, sim.at({p.x + 40, p.y}));
  sim.view->touchUp(1);
  expectClosed(sim.events());
  sim.world.windows.applications[0].windows = {TouchSim::window()};
  // Permission revoked while scrolling: this gesture ends, the next one is refused.
  sim.stroke(1, p, {p.x, p.y + 60}, 3, false);
  sim.world.permissions.postEvents.granted = false;
  sim.view->touchUp(1);
  sim.loop.advance(5);
  const auto before = sim.events().size();
  sim.stroke(1, p, {p.x, p.y + 60}, 3);
  EXPECT_EQ(sim.accessLost, 1);
  EXPECT_EQ(sim.events().size(), before) << "no gesture begins without permission";
  sim.world.permissions.postEvents.granted = true;
  // The view leaves its window while coasting, and while a drag is held.
  sim.stroke(1, p, {p.x, p.y + 120}, 6);
  sim.loop.advance(0.05);
  sim.view->setInWindow(false);
  sim.loop.advance(0.1);
  EXPECT_FALSE(sim.input->hasMomentum());
  sim.view->setInWindow(true);
  sim.view->touchDown(1, sim.at(p));
  sim.loop.advance(0.6);
  sim.stroke(1, p, {p.x + 30, p.y}, 3, false);
  sim.view->setInWindow(false);
  const auto all = sim.events();
  expectClosed(all);
  // The momentum's end goes to the window that had the scroll, never on its own elsewhere.
  for (const auto& posted : sim.world.inputEvents.posted) EXPECT_EQ(posted.pid, appPid);
}

TEST(TouchStartDistance, APanBeginsOnlyPastItsStartDistanceAndTapsAndPressesSeeTheTouchBelowIt) {
  // A finger moves in steps of 4 points (source and view alike unrotated), then waits and lifts.
  // Once the pan has begun, the tap it beat must not click at the lift.
  const struct {
    const char* name;
    double startDistance;
    int steps;
    double hold;
    int changed;  // scroll steps after the began one; -1: no scroll
    MouseEventType click;
  } rows[] = {{"8 points pan by default", 5, 2, 0, 0, MouseEventType::mouseMoved},
              {"8 points under 12 tap", 12, 2, 0, -1, MouseEventType::leftMouseDown},
              {"8 points under 12 press", 12, 2, 0.6, -1, MouseEventType::rightMouseDown},
              {"16 points pan from 12", 12, 4, 0, 1, MouseEventType::mouseMoved}};
  for (const auto& row : rows) {
    TouchSim sim(QuarterTurn::normal);
    sim.view->panStartDistance = row.startDistance;
    const Point p{1700, 230};
    sim.stroke(1, p, {p.x, p.y + 4.0 * row.steps}, row.steps, false);
    sim.loop.advance(row.hold);
    sim.view->touchUp(1);
    const auto all = sim.events();
    const bool scrolled = std::any_of(all.begin(), all.end(), [](const E& e) { return e.isScroll && phase(e) == 1; });
    EXPECT_EQ(scrolled, row.changed >= 0) << row.name;
    if (scrolled) {
      EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const E& e) { return e.isScroll && phase(e) == 2; }), row.changed)
          << row.name;
    }
    const auto clicks = mouse(all);
    EXPECT_EQ(clicks.empty() ? MouseEventType::mouseMoved : clicks.front().type, row.click) << row.name;
    EXPECT_TRUE(clicks.empty() || (clicks.size() == 2 && clicks[0].field(EventField::mouseEventButtonNumber) ==
                                                             (row.click == MouseEventType::rightMouseDown)))
        << row.name;
  }
}

TEST(TouchInputConstruction, APosterThatCannotBeBuiltInstallsNothingAndClosesWhatItOpened) {
  const std::string unavailable = "Window-targeted touch delivery is unavailable on this macOS version.";
  TouchSim sim(QuarterTurn::right);
  sim.input->stop();
  const std::pair<bool*, std::string> rows[] = {
      {&sim.world.inputEvents.refuseSource, "macOS could not create the touch event source."},
      {&sim.world.libraries.coreGraphicsMissing, unavailable},
      {&sim.world.libraries.windowLocationMissing, unavailable}};
  for (const auto& [fault, message] : rows) {
    *fault = true;
    const int open = sim.world.libraries.openLibraries();
    try {
      TouchInput::make(sim.view, virtualID, ipadID, sim.turn, sim.services());
      ADD_FAILURE() << message;
    } catch (const AppFailure& e) {
      EXPECT_EQ(e.message(), message);
    }
    EXPECT_EQ(sim.world.libraries.openLibraries(), open) << message;
    EXPECT_TRUE(sim.view->gestureRecognizers().empty()) << message;
    *fault = false;
  }
}

INSTANTIATE_TEST_SUITE_P(QuarterTurns, TouchEndToEnd,
                         testing::Values(QuarterTurn::normal, QuarterTurn::right, QuarterTurn::inverted, QuarterTurn::left),
                         [](const auto& info) { return std::to_string(rawValue(info.param)); });

}  // namespace
