#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>
#include <vector>

#include "injection/TouchActions.h"

using namespace turnlet;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

constexpr EventFlags shift = 0x20000;
constexpr EventFlags command = 0x100000;
constexpr EventFlags none = 0;

using Phase = TouchScrollPhase;
using Actions = std::vector<TouchAction>;

TouchAction move(Point p, EventFlags f) { return TouchAction::move(p, f); }
TouchAction leftDown(Point p, int n, EventFlags f) { return TouchAction::down(p, MouseButton::left, n, f); }
TouchAction leftUp(Point p, int n, EventFlags f) { return TouchAction::up(p, MouseButton::left, n, f); }
TouchAction rightDown(Point p, EventFlags f) { return TouchAction::down(p, MouseButton::right, 1, f); }
TouchAction rightUp(Point p, EventFlags f) { return TouchAction::up(p, MouseButton::right, 1, f); }
TouchAction beginDrag(Point p, EventFlags f) { return TouchAction::beginDrag(p, f); }
TouchAction drag(Point p, EventFlags f) { return TouchAction::drag(p, f); }
TouchAction scroll(Point p, Size d, EventFlags f, Phase phase) { return TouchAction::scroll(p, d, f, phase); }

const Point a{100, 200};
const Point b{130, 260};
const Point c{-40.5, 7.25};
const Point nanPoint{notANumber, 10};
const Point infPoint{10, -inf};

class TouchActionsTest : public ::testing::Test {
 protected:
  TouchActionsTest() { actions.setEnabled(true); }

  // What was emitted since the last call.
  Actions take() {
    Actions taken;
    taken.swap(emitted);
    return taken;
  }

  // The four states, each entered through the public operations.
  void enterHolding() {
    actions.beginHold(a);
    take();
  }
  void enterDragging() {
    actions.beginDrag(a, shift);
    actions.moveDrag(b, shift);
    take();
  }
  void enterScrolling() {
    actions.scroll(a, {1, 2}, command, Phase::began);
    actions.scroll(b, {3, 4}, shift, Phase::changed);
    take();
  }

  Actions emitted;
  TouchActions actions{[this](const TouchAction& action) { emitted.push_back(action); }};
};

}  // namespace

TEST(TouchAction, EqualityComparesKindAndEveryField) {
  EXPECT_EQ(move(a, shift), move(a, shift));
  EXPECT_NE(move(a, shift), drag(a, shift));
  EXPECT_NE(drag(a, shift), beginDrag(a, shift));
  EXPECT_NE(leftDown(a, 1, shift), leftUp(a, 1, shift));
  EXPECT_NE(leftDown(a, 1, shift), rightDown(a, shift));
  EXPECT_NE(leftDown(a, 1, shift), leftDown(a, 2, shift));
  EXPECT_NE(leftDown(a, 1, shift), leftDown(a, 1, command));
  EXPECT_NE(move(a, shift), move({100, 200.000001}, shift));
  EXPECT_NE(scroll(a, {0, 0}, none, Phase::ended), scroll(a, {0, 0}, none, Phase::cancelled));
  EXPECT_NE(scroll(a, {0, 1}, none, Phase::changed), scroll(a, {0, 2}, none, Phase::changed));
  EXPECT_EQ(toString(rightDown({3, 4}, shift)), "down((3, 4), right, 1, 0x20000)");
  EXPECT_EQ(toString(scroll({1, 2}, {0, -3.5}, none, Phase::momentumChanged)),
            "scroll((1, 2), (0, -3.5), 0x0, momentumChanged)");
}

TEST_F(TouchActionsTest, TapClicksWithItsCount) {
  actions.tap(a, 2, shift);
  EXPECT_EQ(take(), (Actions{move(a, shift), leftDown(a, 2, shift), leftUp(a, 2, shift)}));

  actions.tap(a, 0, shift);
  actions.tap(a, -1, shift);
  EXPECT_EQ(take(), Actions{});

  // A tap releases an unfinished drag (without flags) and cancels an open scroll first.
  enterDragging();
  actions.tap(c, 1, command);
  EXPECT_EQ(take(), (Actions{leftUp(b, 1, none), move(c, command), leftDown(c, 1, command), leftUp(c, 1, command)}));
  enterScrolling();
  actions.tap(c, 3, none);
  EXPECT_EQ(take(), (Actions{scroll(b, {0, 0}, shift, Phase::cancelled), move(c, none), leftDown(c, 3, none),
                             leftUp(c, 3, none)}));
}

TEST_F(TouchActionsTest, PanScrollsThenCoasts) {
  actions.scroll(a, {1, -2}, shift, Phase::began);
  actions.scroll(b, {3, 4}, shift, Phase::changed);
  actions.scroll(b, {0, 0}, shift, Phase::changed);  // a zero movement is still posted
  actions.scroll(c, {5, 6}, shift, Phase::changed);
  actions.scroll(c, {0, 0}, shift, Phase::ended);
  EXPECT_EQ(actions.scrollPoint(), std::nullopt);
  actions.scroll(c, {0, 0}, shift, Phase::momentumBegan);
  EXPECT_EQ(actions.scrollPoint(), c);
  actions.scroll(c, {0, 59}, shift, Phase::momentumChanged);
  actions.scroll(c, {0, 57}, shift, Phase::momentumChanged);
  actions.scroll(c, {0, 0}, shift, Phase::momentumEnded);
  EXPECT_EQ(take(), (Actions{
                        move(a, shift),
                        scroll(a, {1, -2}, shift, Phase::began),
                        scroll(b, {3, 4}, shift, Phase::changed),
                        scroll(b, {0, 0}, shift, Phase::changed),
                        scroll(c, {5, 6}, shift, Phase::changed),
                        scroll(c, {0, 0}, shift, Phase::ended),
                        scroll(c, {0, 0}, shift, Phase::momentumBegan),
                        scroll(c, {0, 59}, shift, Phase::momentumChanged),
                        scroll(c, {0, 57}, shift, Phase::momentumChanged),
                        scroll(c, {0, 0}, shift, Phase::momentumEnded),
                    }));
  EXPECT_EQ(actions.scrollPoint(), std::nullopt);
  actions.cancel();
  EXPECT_EQ(take(), Actions{});
}

TEST_F(TouchActionsTest, ScrollStartsOnChangedAndRestartsOnBegan) {
  // A pan whose first update had no point starts with a changed scroll.
  actions.scroll(a, {1, 1}, none, Phase::changed);
  actions.scroll(b, {2, 2}, none, Phase::changed);
  EXPECT_EQ(take(), (Actions{move(a, none), scroll(a, {1, 1}, none, Phase::changed), scroll(b, {2, 2}, none, Phase::changed)}));

  // A new began while a scroll is open cancels the old one, with its point and flags.
  actions.scroll(c, {0, 0}, command, Phase::began);
  EXPECT_EQ(take(), (Actions{scroll(b, {0, 0}, none, Phase::cancelled), move(c, command),
                             scroll(c, {0, 0}, command, Phase::began)}));

  // A began during a drag releases the button first.
  actions.cancel();
  take();
  enterDragging();
  actions.scroll(c, {1, 2}, command, Phase::began);
  EXPECT_EQ(take(), (Actions{leftUp(b, 1, none), move(c, command), scroll(c, {1, 2}, command, Phase::began)}));

  // Closing and momentum phases never start a scroll by themselves.
  actions.cancel();
  take();
  actions.scroll(a, {0, 0}, none, Phase::ended);
  actions.scroll(a, {0, 0}, none, Phase::cancelled);
  EXPECT_EQ(take(), (Actions{scroll(a, {0, 0}, none, Phase::ended), scroll(a, {0, 0}, none, Phase::cancelled)}));
  EXPECT_EQ(actions.scrollPoint(), std::nullopt);
}

TEST_F(TouchActionsTest, HoldBecomesADragFromThePressPoint) {
  actions.beginHold(a);
  actions.moveHold({a.x + 3, a.y + 4}, shift);  // 5 points away
  actions.moveHold({a.x - 5.9, a.y}, shift);
  EXPECT_EQ(take(), Actions{});
  EXPECT_EQ(actions.holdPoint(), a);

  const Point sixAway{a.x + 6, a.y};
  actions.moveHold(sixAway, shift);
  EXPECT_EQ(take(), (Actions{move(a, shift), beginDrag(a, shift), drag(sixAway, shift)}));
  EXPECT_EQ(actions.holdPoint(), std::nullopt);
  EXPECT_EQ(actions.dragPoint(), sixAway);

  actions.moveHold(sixAway, shift);  // identical point: nothing
  actions.moveHold(b, command);
  actions.endHold(c, command);
  EXPECT_EQ(take(), (Actions{drag(b, command), drag(c, command), leftUp(c, 1, command)}));
  EXPECT_EQ(actions.dragPoint(), std::nullopt);

  // Lifting at the last drag point only releases.
  actions.beginHold(a);
  actions.moveHold(b, none);
  actions.endHold(b, none);
  EXPECT_EQ(take(), (Actions{move(a, none), beginDrag(a, none), drag(b, none), leftUp(b, 1, none)}));
  // A hold that was never begun does not drag.
  actions.moveHold(c, none);
  EXPECT_EQ(take(), Actions{});
}

TEST_F(TouchActionsTest, StationaryHoldRightClicksAtTheReleasePoint) {
  actions.beginHold(a);
  actions.endHold(b, command);
  EXPECT_EQ(take(), (Actions{move(b, command), rightDown(b, command), rightUp(b, command)}));
  EXPECT_EQ(actions.holdPoint(), std::nullopt);

  // A hold begun during a scroll cancels it; a coasting scroll that arrives during the hold is
  // cancelled before the right click.
  enterScrolling();
  actions.beginHold(a);
  actions.scroll(c, {0, 9}, command, Phase::momentumChanged);
  actions.endHold(a, shift);
  EXPECT_EQ(take(), (Actions{
                        scroll(b, {0, 0}, shift, Phase::cancelled),
                        scroll(c, {0, 9}, command, Phase::momentumChanged),
                        scroll(c, {0, 0}, command, Phase::cancelled),
                        move(a, shift),
                        rightDown(a, shift),
                        rightUp(a, shift),
                    }));
  EXPECT_EQ(actions.scrollPoint(), std::nullopt);

  // Lifting with nothing pending does nothing.
  actions.endHold(a, shift);
  EXPECT_EQ(take(), Actions{});
}

TEST_F(TouchActionsTest, DirectDrag) {
  actions.beginDrag(a, shift);
  actions.moveDrag(a, shift);  // identical point: nothing
  actions.moveDrag(b, shift);
  actions.endDrag(std::nullopt, command);  // releases at the last drag point
  actions.endDrag(c, command);             // no drag any more
  actions.moveDrag(c, command);
  EXPECT_EQ(take(), (Actions{move(a, shift), beginDrag(a, shift), drag(b, shift), leftUp(b, 1, command)}));

  actions.beginDrag(a, none);
  actions.endDrag(c, none);
  actions.beginDrag(a, none);
  actions.endDrag(nanPoint, none);  // an unusable release point falls back to the drag point
  EXPECT_EQ(take(), (Actions{move(a, none), beginDrag(a, none), leftUp(c, 1, none), move(a, none),
                             beginDrag(a, none), leftUp(a, 1, none)}));

  // A new drag releases the unfinished one first, without flags.
  actions.beginDrag(a, shift);
  actions.beginDrag(c, command);
  EXPECT_EQ(take(), (Actions{move(a, shift), beginDrag(a, shift), leftUp(a, 1, none), move(c, command),
                             beginDrag(c, command)}));
}

TEST_F(TouchActionsTest, CancelInEveryState) {
  actions.cancel();
  EXPECT_EQ(take(), Actions{}) << "idle";

  enterHolding();
  actions.cancel();
  EXPECT_EQ(take(), Actions{}) << "holding";
  actions.endHold(b, none);  // the hold is forgotten: no right click
  actions.moveHold(c, none);
  EXPECT_EQ(take(), Actions{}) << "holding";

  enterDragging();
  actions.cancel();
  EXPECT_EQ(take(), (Actions{leftUp(b, 1, none)})) << "dragging";
  actions.moveDrag(c, none);
  actions.endDrag(c, none);
  EXPECT_EQ(take(), Actions{}) << "dragging";

  enterScrolling();
  actions.cancel();
  EXPECT_EQ(take(), (Actions{scroll(b, {0, 0}, shift, Phase::cancelled)})) << "scrolling";

  // Momentum arriving during a drag leaves both open; the button goes up first.
  enterDragging();
  actions.scroll(c, {0, 1}, command, Phase::momentumChanged);
  take();
  actions.cancel();
  EXPECT_EQ(take(), (Actions{leftUp(b, 1, none), scroll(c, {0, 0}, command, Phase::cancelled)})) << "both";

  actions.cancel();
  EXPECT_EQ(take(), Actions{}) << "cancelled twice";
  EXPECT_EQ(actions.dragPoint(), std::nullopt);
  EXPECT_EQ(actions.holdPoint(), std::nullopt);
  EXPECT_EQ(actions.scrollPoint(), std::nullopt);
}

TEST_F(TouchActionsTest, NonFinitePointsAndDeltasAreRefused) {
  const Size nanDelta{0, notANumber};
  const Size infDelta{inf, 0};
  // In every state, each operation given a NaN or infinite point or delta emits nothing and
  // changes nothing, except endHold, which cancels.
  const struct {
    const char* label;
    std::function<void()> enter;
  } states[] = {
      {"idle", [] {}},
      {"holding", [this] { enterHolding(); }},
      {"dragging", [this] { enterDragging(); }},
      {"scrolling", [this] { enterScrolling(); }},
  };
  for (const auto& state : states) {
    for (const Point bad : {nanPoint, infPoint}) {
      actions.cancel();
      take();
      state.enter();
      const auto dragBefore = actions.dragPoint();
      const auto holdBefore = actions.holdPoint();
      const auto scrollBefore = actions.scrollPoint();

      actions.beginHold(bad);
      actions.tap(bad, 1, shift);
      actions.beginDrag(bad, shift);
      actions.moveDrag(bad, shift);
      actions.moveHold(bad, shift);
      for (Phase phase : {Phase::began, Phase::changed, Phase::ended, Phase::momentumChanged}) {
        actions.scroll(bad, {1, 1}, shift, phase);
        actions.scroll(c, nanDelta, shift, phase);
        actions.scroll(c, infDelta, shift, phase);
      }
      EXPECT_EQ(take(), Actions{}) << state.label;
      EXPECT_EQ(actions.dragPoint(), dragBefore) << state.label;
      EXPECT_EQ(actions.holdPoint(), holdBefore) << state.label;
      EXPECT_EQ(actions.scrollPoint(), scrollBefore) << state.label;

      actions.endHold(bad, command);
      Actions cancelled;
      if (dragBefore) cancelled.push_back(leftUp(*dragBefore, 1, none));
      if (scrollBefore) cancelled.push_back(scroll(*scrollBefore, {0, 0}, shift, Phase::cancelled));
      EXPECT_EQ(take(), cancelled) << state.label;
      EXPECT_EQ(actions.holdPoint(), std::nullopt) << state.label;
    }
  }
}

TEST_F(TouchActionsTest, DisabledDoesNothingButCancel) {
  TouchActions fresh([this](const TouchAction& action) { emitted.push_back(action); });
  EXPECT_FALSE(fresh.isEnabled());
  fresh.tap(a, 1, none);
  fresh.beginHold(a);
  fresh.beginDrag(a, none);
  fresh.scroll(a, {1, 1}, none, Phase::began);
  EXPECT_EQ(take(), Actions{});

  enterDragging();
  actions.setEnabled(false);
  actions.tap(c, 1, none);
  actions.beginHold(c);
  actions.beginDrag(c, none);
  actions.moveDrag(c, none);
  actions.moveHold(c, none);
  actions.endDrag(c, none);
  actions.scroll(c, {1, 1}, none, Phase::began);
  EXPECT_EQ(take(), Actions{});
  EXPECT_EQ(actions.dragPoint(), b);

  // endHold while disabled cancels, releasing the button without flags.
  actions.endHold(c, command);
  EXPECT_EQ(take(), (Actions{leftUp(b, 1, none)}));

  actions.setEnabled(true);
  enterScrolling();
  actions.setEnabled(false);
  actions.cancel();
  EXPECT_EQ(take(), (Actions{scroll(b, {0, 0}, shift, Phase::cancelled)}));
}

TEST_F(TouchActionsTest, RecipientCallingBackDuringCancelSeesIdle) {
  // A recipient may cancel again from inside its callback (as a failing poster would); the
  // button is still released once and the scroll cancelled once.
  int calls = 0;
  TouchActions* self = nullptr;
  TouchActions reentrant([&](const TouchAction& action) {
    emitted.push_back(action);
    if (++calls == 1) self->cancel();
  });
  self = &reentrant;
  reentrant.setEnabled(true);
  reentrant.beginDrag(a, none);
  reentrant.scroll(b, {0, 1}, shift, Phase::momentumChanged);
  take();
  calls = 0;
  reentrant.cancel();
  EXPECT_EQ(take(), (Actions{leftUp(a, 1, none), scroll(b, {0, 0}, shift, Phase::cancelled)}));
}
