#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "injection/TouchActions.h"

using namespace turnlet;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr EventFlags shift = 0x20000, command = 0x100000, none = 0;

using Phase = TouchScrollPhase;
using Actions = std::vector<TouchAction>;
using T = TouchActions;

TouchAction move(Point p, EventFlags f) { return TouchAction::move(p, f); }
TouchAction leftDown(Point p, int n, EventFlags f) { return TouchAction::down(p, MouseButton::left, n, f); }
TouchAction leftUp(Point p, int n, EventFlags f) { return TouchAction::up(p, MouseButton::left, n, f); }
TouchAction rightDown(Point p, EventFlags f) { return TouchAction::down(p, MouseButton::right, 1, f); }
TouchAction rightUp(Point p, EventFlags f) { return TouchAction::up(p, MouseButton::right, 1, f); }
TouchAction beginDrag(Point p, EventFlags f) { return TouchAction::beginDrag(p, f); }
TouchAction drag(Point p, EventFlags f) { return TouchAction::drag(p, f); }
TouchAction scroll(Point p, Size d, EventFlags f, Phase phase) { return TouchAction::scroll(p, d, f, phase); }
TouchAction cancelled(Point p, EventFlags f) { return scroll(p, {0, 0}, f, Phase::cancelled); }

const Point a{100, 200}, b{130, 260}, c{-40.5, 7.25};

// The states, entered through the public operations: holding at a; dragging at b (begun at a with
// shift); scrolling at b with shift (begun at a with command). "off" is never enabled.
enum class From { off, idle, holding, dragging, scrolling };

void enter(T& t, From from) {
  t.setEnabled(from != From::off);
  if (from == From::holding) t.beginHold(a);
  if (from == From::dragging) t.beginDrag(a, shift), t.moveDrag(b, shift);
  if (from == From::scrolling) t.scroll(a, {1, 2}, command, Phase::began), t.scroll(b, {3, 4}, shift, Phase::changed);
}

std::string stateOf(const T& t) {
  const std::string s =
      std::string(t.holdPoint() ? " hold" : "") + (t.dragPoint() ? " drag" : "") + (t.scrollPoint() ? " scroll" : "");
  return !s.empty() ? s.substr(1) : t.isEnabled() ? "idle" : "off";
}

// Touch actions in a given state, recording what they emit from then on.
struct Emitting {
  explicit Emitting(From from) { enter(actions, from), emitted.clear(); }
  Actions emitted;
  T actions{[this](const TouchAction& action) { emitted.push_back(action); }};
};

struct Scenario {
  const char* name;
  From from;
  std::function<void(T&)> steps;
  Actions expected;
  const char* after;  // the state the steps end in
};

// clang-format off
const Scenario scenarios[] = {
    {"tap", From::idle, [](T& t) { t.tap(a, 2, shift); },
     {move(a, shift), leftDown(a, 2, shift), leftUp(a, 2, shift)}, "idle"},
    {"tap counts below one", From::idle, [](T& t) { t.tap(a, 0, shift), t.tap(a, -1, shift); }, {}, "idle"},
    {"tap releases a drag without flags", From::dragging, [](T& t) { t.tap(c, 1, command); },
     {leftUp(b, 1, none), move(c, command), leftDown(c, 1, command), leftUp(c, 1, command)}, "idle"},
    {"tap cancels a scroll", From::scrolling, [](T& t) { t.tap(c, 3, none); },
     {cancelled(b, shift), move(c, none), leftDown(c, 3, none), leftUp(c, 3, none)}, "idle"},
    {"pan, zero deltas posted", From::idle, [](T& t) {
       t.scroll(a, {1, -2}, shift, Phase::began), t.scroll(b, {0, 0}, shift, Phase::changed);
       t.scroll(c, {0, 0}, shift, Phase::ended); },
     {move(a, shift), scroll(a, {1, -2}, shift, Phase::began), scroll(b, {0, 0}, shift, Phase::changed),
      scroll(c, {0, 0}, shift, Phase::ended)}, "idle"},
    {"coasting starts nothing", From::idle, [](T& t) {
       t.scroll(c, {0, 0}, shift, Phase::momentumBegan), t.scroll(c, {0, 9}, shift, Phase::momentumChanged); },
     {scroll(c, {0, 0}, shift, Phase::momentumBegan), scroll(c, {0, 9}, shift, Phase::momentumChanged)}, "scroll"},
    {"coasting ends", From::scrolling, [](T& t) { t.scroll(c, {0, 0}, none, Phase::momentumEnded); },
     {scroll(c, {0, 0}, none, Phase::momentumEnded)}, "idle"},
    {"closing phases start nothing", From::idle,
     [](T& t) { t.scroll(a, {0, 0}, none, Phase::ended), t.scroll(a, {0, 0}, none, Phase::cancelled); },
     {scroll(a, {0, 0}, none, Phase::ended), cancelled(a, none)}, "idle"},
    {"changed starts a scroll once", From::idle,
     [](T& t) { t.scroll(a, {1, 1}, none, Phase::changed), t.scroll(b, {2, 2}, none, Phase::changed); },
     {move(a, none), scroll(a, {1, 1}, none, Phase::changed), scroll(b, {2, 2}, none, Phase::changed)}, "scroll"},
    {"began restarts a scroll", From::scrolling, [](T& t) { t.scroll(c, {0, 0}, command, Phase::began); },
     {cancelled(b, shift), move(c, command), scroll(c, {0, 0}, command, Phase::began)}, "scroll"},
    {"began releases a drag", From::dragging, [](T& t) { t.scroll(c, {1, 2}, command, Phase::began); },
     {leftUp(b, 1, none), move(c, command), scroll(c, {1, 2}, command, Phase::began)}, "scroll"},
    {"hold under 6 points", From::idle,
     [](T& t) { t.beginHold(a), t.moveHold({a.x + 3, a.y + 4}, shift), t.moveHold({a.x - 5.9, a.y}, shift); },
     {}, "hold"},
    {"hold drags from the press point at 6 points", From::holding, [](T& t) { t.moveHold({a.x + 6, a.y}, shift); },
     {move(a, shift), beginDrag(a, shift), drag({a.x + 6, a.y}, shift)}, "drag"},
    {"held drag lifted elsewhere", From::holding,
     [](T& t) { t.moveHold(b, command), t.moveHold(b, command), t.endHold(c, command); },
     {move(a, command), beginDrag(a, command), drag(b, command), drag(c, command), leftUp(c, 1, command)}, "idle"},
    {"held drag lifted where it is", From::holding, [](T& t) { t.moveHold(b, none), t.endHold(b, none); },
     {move(a, none), beginDrag(a, none), drag(b, none), leftUp(b, 1, none)}, "idle"},
    {"moveHold without a hold", From::idle, [](T& t) { t.moveHold(c, none); }, {}, "idle"},
    {"stationary hold right-clicks at the release", From::holding, [](T& t) { t.endHold(b, command); },
     {move(b, command), rightDown(b, command), rightUp(b, command)}, "idle"},
    {"right click cancels a coasting scroll", From::scrolling,
     [](T& t) { t.beginHold(a), t.scroll(c, {0, 9}, command, Phase::momentumChanged), t.endHold(a, shift); },
     {cancelled(b, shift), scroll(c, {0, 9}, command, Phase::momentumChanged), cancelled(c, command),
      move(a, shift), rightDown(a, shift), rightUp(a, shift)}, "idle"},
    {"endHold with nothing pending", From::idle, [](T& t) { t.endHold(a, shift); }, {}, "idle"},
    {"direct drag", From::idle, [](T& t) {
       t.beginDrag(a, shift), t.moveDrag(a, shift), t.moveDrag(b, shift), t.endDrag(std::nullopt, command);
       t.endDrag(c, command), t.moveDrag(c, command); },
     {move(a, shift), beginDrag(a, shift), drag(b, shift), leftUp(b, 1, command)}, "idle"},
    {"endDrag at a point", From::dragging, [](T& t) { t.endDrag(c, none); }, {leftUp(c, 1, none)}, "idle"},
    {"NaN release", From::dragging, [](T& t) { t.endDrag(Point{notANumber, 1}, none); }, {leftUp(b, 1, none)}, "idle"},
    {"new drag releases the old", From::dragging, [](T& t) { t.beginDrag(c, command); },
     {leftUp(b, 1, none), move(c, command), beginDrag(c, command)}, "drag"},
    {"cancel idle", From::idle, [](T& t) { t.cancel(); }, {}, "idle"},
    {"cancel forgets a hold", From::holding, [](T& t) { t.cancel(), t.endHold(b, none), t.moveHold(c, none); },
     {}, "idle"},
    {"cancel releases a drag", From::dragging, [](T& t) { t.cancel(), t.moveDrag(c, none), t.endDrag(c, none); },
     {leftUp(b, 1, none)}, "idle"},
    {"cancel cancels a scroll", From::scrolling, [](T& t) { t.cancel(), t.cancel(); }, {cancelled(b, shift)}, "idle"},
    {"cancel a drag with coasting", From::dragging,
     [](T& t) { t.scroll(c, {0, 1}, command, Phase::momentumChanged), t.cancel(); },
     {scroll(c, {0, 1}, command, Phase::momentumChanged), leftUp(b, 1, none), cancelled(c, command)}, "idle"},
    {"never enabled", From::off,
     [](T& t) { t.tap(a, 1, none), t.beginHold(a), t.beginDrag(a, none), t.scroll(a, {1, 1}, none, Phase::began); },
     {}, "off"},
    {"disabled ignores all but cancel", From::dragging, [](T& t) {
       t.setEnabled(false), t.tap(c, 1, none), t.beginHold(c), t.beginDrag(c, none), t.moveDrag(c, none);
       t.moveHold(c, none), t.endDrag(c, none), t.scroll(c, {1, 1}, none, Phase::began); },
     {}, "drag"},
    {"disabled endHold cancels", From::dragging, [](T& t) { t.setEnabled(false), t.endHold(c, command); },
     {leftUp(b, 1, none)}, "off"},
    {"disabled cancel", From::scrolling, [](T& t) { t.setEnabled(false), t.cancel(); }, {cancelled(b, shift)}, "off"},
};
// clang-format on

}  // namespace

TEST(TouchAction, EqualOnlyInKindAndEveryFieldAndPrintable) {
  // Pairwise different in kind or in one field.
  // clang-format off
  const TouchAction all[] = {move(a, shift), move(a, command), move({100, 200.000001}, shift), drag(a, shift),
                             beginDrag(a, shift), leftDown(a, 1, shift), leftDown(a, 2, shift), rightDown(a, shift),
                             leftUp(a, 1, shift), cancelled(a, none), scroll(a, {0, 1}, none, Phase::ended),
                             scroll(a, {0, 2}, none, Phase::ended), leftDown(a, 1, command)};
  // clang-format on
  for (std::size_t i = 0; i < std::size(all); ++i)
    for (std::size_t j = 0; j < std::size(all); ++j) EXPECT_EQ(all[i] == all[j], i == j) << i << " " << j;
  EXPECT_EQ(toString(rightDown({3, 4}, shift)), "down((3, 4), right, 1, 0x20000)");
  EXPECT_EQ(toString(scroll({1, 2}, {0, -3.5}, none, Phase::momentumChanged)),
            "scroll((1, 2), (0, -3.5), 0x0, momentumChanged)");
}

TEST(TouchActions, Scenarios) {
  for (const Scenario& s : scenarios) {
    Emitting e(s.from);
    s.steps(e.actions);
    EXPECT_EQ(e.emitted, s.expected) << s.name;
    EXPECT_EQ(stateOf(e.actions), s.after) << s.name;
  }
}

TEST(TouchActions, NonFinitePointsAndDeltasAreRefusedInEveryState) {
  // Each operation given a NaN or infinite point or delta emits nothing and changes nothing,
  // except endHold, which cancels.
  for (From from : {From::idle, From::holding, From::dragging, From::scrolling}) {
    for (const Point bad : {Point{notANumber, 10}, Point{10, -inf}}) {
      Emitting e(from);
      T& t = e.actions;
      const auto drag = t.dragPoint(), hold = t.holdPoint(), scrolled = t.scrollPoint();
      t.beginHold(bad), t.tap(bad, 1, shift), t.beginDrag(bad, shift), t.moveDrag(bad, shift), t.moveHold(bad, shift);
      for (Phase phase : {Phase::began, Phase::changed, Phase::ended, Phase::momentumChanged})
        t.scroll(bad, {1, 1}, shift, phase), t.scroll(c, {0, notANumber}, shift, phase),
            t.scroll(c, {inf, 0}, shift, phase);
      EXPECT_EQ(e.emitted, Actions{});
      EXPECT_TRUE(t.dragPoint() == drag && t.holdPoint() == hold && t.scrollPoint() == scrolled);

      t.endHold(bad, command);
      Actions cancel;
      if (drag) cancel.push_back(leftUp(*drag, 1, none));
      if (scrolled) cancel.push_back(cancelled(*scrolled, shift));
      EXPECT_EQ(e.emitted, cancel);
      EXPECT_EQ(stateOf(t), "idle");
    }
  }
}

TEST(TouchActions, RecipientCancellingFromItsCallbackSeesIdle) {
  // As a failing poster would: the button is still released once and the scroll cancelled once.
  Actions emitted;
  T reentrant([&](const TouchAction& action) {
    emitted.push_back(action);
    if (emitted.size() == 4) reentrant.cancel();
  });
  reentrant.setEnabled(true);
  reentrant.beginDrag(a, none);
  reentrant.scroll(b, {0, 1}, shift, Phase::momentumChanged);
  reentrant.cancel();
  EXPECT_EQ(emitted, (Actions{move(a, none), beginDrag(a, none), scroll(b, {0, 1}, shift, Phase::momentumChanged),
                              leftUp(a, 1, none), cancelled(b, shift)}));
}
