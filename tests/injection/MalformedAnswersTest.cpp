#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

#include "injection/TouchEventPoster.h"
#include "injection/TouchWindowMove.h"
#include "injection/TouchWindowTarget.h"
#include "sim/system/ManualLoop.h"
#include "sim/system/ManualSerialQueue.h"
#include "sim/world/World.h"

using namespace turnlet;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
const Point inside{1600, 110};  // on the title bar of window 7 of process 700

WindowListEntry good() {
  return sim::SimWindowList::entry(sim::SimApplication{700, "Editor", {}},
                                   sim::SimAppWindow{7, "", Rect(1500, 100, 400, 300)});
}

}  // namespace

TEST(MalformedAnswers, WindowListEntriesThatCannotBeTrustedAreSkipped) {
  struct Row {
    const char* name;
    std::function<void(WindowListEntry&)> change;
  };
  const Row rows[] = {
      {"no number", [](auto& e) { e.erase(windowNumberKey); }},
      {"number 0", [](auto& e) { e[windowNumberKey] = 0.0; }},
      {"number 2.5", [](auto& e) { e[windowNumberKey] = 2.5; }},
      {"number above 32 bits", [](auto& e) { e[windowNumberKey] = 4294967296.0; }},
      {"number as text", [](auto& e) { e[windowNumberKey] = std::string("7"); }},
      {"pid 0", [](auto& e) { e[windowOwnerPIDKey] = 0.0; }},
      {"pid -1", [](auto& e) { e[windowOwnerPIDKey] = -1.0; }},
      {"pid NaN", [](auto& e) { e[windowOwnerPIDKey] = notANumber; }},
      {"pid above 31 bits", [](auto& e) { e[windowOwnerPIDKey] = 2147483648.0; }},
      {"bounds not a dictionary", [](auto& e) { e[windowBoundsKey] = 3.0; }},
      {"bounds without width", [](auto& e) { std::get<WindowListNested>(e[windowBoundsKey]).erase("Width"); }},
      {"bounds of zero width", [](auto& e) { std::get<WindowListNested>(e[windowBoundsKey])["Width"] = 0.0; }},
      {"bounds NaN", [](auto& e) { std::get<WindowListNested>(e[windowBoundsKey])["X"] = notANumber; }},
      {"bounds infinite", [](auto& e) { std::get<WindowListNested>(e[windowBoundsKey])["Height"] = inf; }},
      {"bounds as text", [](auto& e) { std::get<WindowListNested>(e[windowBoundsKey])["Y"] = std::string("1"); }},
      {"alpha 0", [](auto& e) { e[windowAlphaKey] = 0.0; }},
      {"alpha missing", [](auto& e) { e.erase(windowAlphaKey); }},
      {"alpha NaN", [](auto& e) { e[windowAlphaKey] = notANumber; }},
      {"owned by WindowServer", [](auto& e) { e[windowOwnerNameKey] = std::string("WindowServer"); }},
  };
  const Rect display(1440, 0, 1024, 1366);
  for (const auto& row : rows) {
    WindowListEntry bad = good();
    row.change(bad);
    EXPECT_EQ(TouchWindowTarget::select(inside, display, {bad}), std::nullopt) << row.name;
    const auto behind = TouchWindowTarget::select(inside, display, {bad, good()});
    EXPECT_EQ(behind, (TouchWindowTarget{7, 700, Rect(1500, 100, 400, 300)})) << row.name << ": the next one is chosen";
  }
  WindowListEntry faint = good(), nameless = good();
  faint[windowAlphaKey] = 0.01;
  nameless[windowOwnerNameKey] = WindowListOther{};
  EXPECT_TRUE(TouchWindowTarget::select(inside, display, {faint}));
  EXPECT_TRUE(TouchWindowTarget::select(inside, display, {nameless}));
  EXPECT_FALSE(TouchWindowTarget::select({display.maxX(), 110}, display, {good()})) << "the far edge is outside";
}

TEST(MalformedAnswers, AccessibilityAnswersThatCannotBeTrustedStartNoMoveAndPressNothing) {
  sim::ManualLoop loop;
  sim::World world(loop);
  sim::ManualQueueFactory queues(loop);
  sim::SimAppWindow window{7, "", Rect(1500, 100, 400, 300)};
  window.elements = {sim::SimElement{"AXButton", Rect(20, 60, 100, 30)}};
  const TouchWindowTarget target{7, 700, window.bounds};
  const Point button{1530, 170};
  using A = sim::SimAccessibility;
  struct Row {
    const char* name;
    std::function<void(A&, sim::SimAppWindow&)> fault;
    bool press;  // whether the press of the button survives the fault
    bool move = false;  // whether a title-bar move does
  };
  const auto replace = [](const char* attribute, AccessibilityValue v) -> std::function<void(A&, sim::SimAppWindow&)> {
    return [=](A& ax, sim::SimAppWindow&) { ax.replaced[attribute] = v; };
  };
  const Row rows[] = {
      {"no element at the point", [](A& ax, auto&) { ax.failing["copyElementAtPosition"] = accessibilityCannotComplete; }, false},
      {"a null element", [](A& ax, auto&) { ax.nullElement = true; }, false},
      {"pid fails", [](A& ax, auto&) { ax.failing["getPid"] = accessibilityInvalidElement; }, false},
      {"another process", [](A& ax, auto&) { ax.wrongPid = 701; }, false},
      {"role not text", replace("AXRole", AccessibilityValue{1.0}), true},
      {"windows not a list", replace("AXWindows", AccessibilityValue{std::string("AXWindow")}), true},
      {"windows of text", replace("AXWindows", AccessibilityValue{std::vector<AccessibilityValue>{{std::string("w")}}}), true},
      {"windows fail", [](A& ax, auto&) { ax.failing["copyAttributeValue AXWindows"] = accessibilityFailure; }, true},
      {"position a size", replace("AXPosition", AccessibilityValue{Size{1, 2}}), true},
      {"position NaN", replace("AXPosition", AccessibilityValue{Point{notANumber, 100}}), true},
      {"size zero", replace("AXSize", AccessibilityValue{Size{0, 300}}), true},
      {"frame 3 points wider", [](A&, sim::SimAppWindow& w) { w.bounds.size.width += 3; }, true},
      {"position not settable", [](A&, sim::SimAppWindow& w) { w.positionSettable = false; }, true},
      {"settable test fails", [](A& ax, auto&) { ax.failing["isAttributeSettable"] = accessibilityFailure; }, true},
      {"enabled as text", replace("AXEnabled", AccessibilityValue{std::string("yes")}), false, true},
      {"actions not a list", [](A& ax, auto&) { ax.actionNames = AccessibilityValue{std::string("AXPress")}; }, false, true},
      {"press fails", [](A& ax, auto&) { ax.failing["performAction"] = accessibilityCannotComplete; }, false, true},
  };
  for (const auto& row : rows) {
    sim::World w(loop);
    w.windows.applications = {sim::SimApplication{700, "Editor", {window}}};
    row.fault(w.accessibility, w.windows.applications[0].windows[0]);
    EXPECT_EQ(TouchWindowMove::begin(inside, target, {queues, loop, w.accessibility}) != nullptr, row.move) << row.name;
    EXPECT_EQ(TouchAccessibility::press(button, target, w.accessibility), row.press) << row.name;
  }
  // Without faults both work; 2 points off still matches; the thirteenth window is never examined.
  world.windows.applications = {sim::SimApplication{700, "Editor", {}}};
  auto& windows = world.windows.applications[0].windows;
  for (WindowNumber n = 20; n < 32; ++n) windows.push_back({n, "", Rect(0, 0, 50, 50)});
  windows.push_back(window);
  windows.back().bounds.size.width += 2;
  EXPECT_FALSE(TouchWindowMove::begin(inside, target, {queues, loop, world.accessibility})) << "13th window";
  windows.erase(windows.begin());
  EXPECT_TRUE(TouchWindowMove::begin(inside, target, {queues, loop, world.accessibility})) << "12th window, 2 points off";
  EXPECT_FALSE(TouchWindowMove::begin({1600, 129}, target, {queues, loop, world.accessibility})) << "29 points down";
  EXPECT_FALSE(TouchAccessibility::press({1e39, 1e39}, target, world.accessibility)) << "beyond a float";
  EXPECT_EQ(wheelDelta(2.5), 3);
  EXPECT_EQ(wheelDelta(-2.5), -3);
  EXPECT_EQ(wheelDelta(3e9), std::nullopt);
  EXPECT_EQ(wheelDelta(notANumber), std::nullopt);
}

// The poster is the last step before the platform: a point that is not finite, or a window whose
// bounds make the window-local point overflow, reaches no event, whatever its caller lets through.
TEST(MalformedAnswers, PointsThatAreNotFiniteReachNoEvent) {
  using A = TouchAction;
  const Rect window(1500, 100, 400, 300), beyond(1500, 1e308, 400, 1e308);
  const Point nan{notANumber, 110}, infinite{1600, inf};
  const MouseButton left = MouseButton::left, right = MouseButton::right;
  const TouchScrollPhase began = TouchScrollPhase::began;
  // Name, window bounds, actions, and how many events (those at finite points) are posted.
  const std::tuple<const char*, Rect, std::vector<TouchAction>, std::size_t> rows[] = {
      {"move", window, {A::move(nan, 0)}, 0},
      {"right click", window, {A::down(infinite, right, 1, 0), A::up(infinite, right, 1, 0)}, 0},
      {"drag, then lift", window, {A::beginDrag(inside, 0), A::drag(nan, 0), A::drag(infinite, 0), A::up(nan, left, 1, 0)}, 1},
      {"scroll", window, {A::scroll(infinite, {0, 5}, 0, began), A::scroll(nan, {0, 5}, 0, TouchScrollPhase::ended)}, 0},
      {"window-local point overflows", beyond,
       {A::move(inside, 0), A::down(inside, left, 2, 0), A::up(inside, left, 2, 0), A::scroll(inside, {0, 5}, 0, began)}, 0},
  };
  for (const auto& [name, bounds, actions, posted] : rows) {
    sim::ManualLoop loop;
    sim::World world(loop);
    const TouchWindowTarget target{7, 700, bounds};
    TouchEventPoster poster(
        {[&](Point) { return std::optional(target); }, [&](const TouchWindowTarget&) { return std::optional(target); },
         [](Point, const TouchWindowTarget&) { return false; },
         [](Point, const TouchWindowTarget&) { return std::shared_ptr<TouchWindowMove>(); },
         [&] { return loop.now(); }},
        world.inputEvents, world.libraries);
    for (const TouchAction& action : actions) poster.post(action);
    const auto events = world.inputEvents.postedTo(700);
    EXPECT_EQ(events.size(), posted) << name;
    for (const auto& e : events)
      EXPECT_TRUE(std::isfinite(e.location->x + e.location->y + e.windowLocation->x + e.windowLocation->y)) << name;
  }
}
