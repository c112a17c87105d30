#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "display/AppFailure.h"
#include "display/DisplayLayout.h"
#include "session/ThrowingPlatform.h"
#include "sim/system/ManualLoop.h"
#include "sim/world/World.h"

using namespace turnlet;

namespace {

using Origins = std::vector<std::pair<DisplayID, Point>>;

// The Mac (1), the iPad to its right (2), the virtual display (3), counting notifications.
struct Fixture {
  sim::ManualLoop loop;
  sim::World world{loop};
  sim::DisplayServer& server = world.displays;
  int notified = 0;

  Fixture() {
    sim::SimDisplay virtualDisplay;
    virtualDisplay.bounds = Rect(3000, 0, 1024, 1366);
    server.connect(virtualDisplay);
    loop.runUntilIdle();
    server.addScreenParametersObserver([this] { ++notified; });
  }
  std::vector<Rect> allBounds() {
    std::vector<Rect> result;
    for (const sim::SimDisplay& d : server.displays()) result.push_back(d.bounds);
    return result;
  }
  std::string place(const Origins& origins) {
    try {
      DisplayLayout::place(server, origins);
      return "placed";
    } catch (const AppFailure& failure) {
      return failure.message();
    }
  }
};

}  // namespace

TEST(DisplayLayout, PlacesEveryDisplayAtOnceRoundingHalvesAwayFromZero) {
  Fixture f;
  // The usual move: the virtual display where the iPad was, the iPad parked off the top-left.
  EXPECT_EQ(f.place({{3, {1440.5, -10.5}}, {2, {-1366.4999, -1024.5}}}), "placed");
  EXPECT_EQ(f.allBounds(),
            (std::vector<Rect>{Rect(0, 0, 1440, 900), Rect(-1366, -1025, 1366, 1024), Rect(1441, -11, 1024, 1366)}));
  EXPECT_EQ(f.notified, 0);  // posted on the loop, not delivered inside the call
  f.loop.runUntilIdle();
  EXPECT_EQ(f.notified, 1);  // one notification for the whole change

  const double top = std::numeric_limits<std::int32_t>::max(), bottom = std::numeric_limits<std::int32_t>::min();
  const Point rounding[][2] = {
      {{2.4999, -2.5}, {2, -3}}, {{-0.4, 0.5}, {0, 1}}, {{top + 0.4, bottom - 0.4}, {top, bottom}}};
  for (const auto& [value, placed] : rounding) {
    ASSERT_EQ(f.place({{2, value}}), "placed") << value.x;
    EXPECT_EQ(f.server.bounds(2).origin, placed) << value.x;
  }
  // An empty list completes a transaction that changes nothing, and tells nobody.
  const std::vector<Rect> before = f.allBounds();
  EXPECT_EQ(f.place({}), "placed");
  EXPECT_TRUE(f.server.completedLayouts().back().origins.empty());
  EXPECT_EQ(f.allBounds(), before);
  f.loop.runUntilIdle();
  EXPECT_EQ(f.notified, 4);  // the usual move and the three rounded ones
  EXPECT_EQ(f.server.deadConfigurationUses(), 0);
}

TEST(DisplayLayout, AFailureAtAnyStepLeavesEveryDisplayWhereItWas) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  const Origins both = {{3, {1440, 0}}, {2, {-1366, -1024}}};
  const auto begin = [](int c) { return "macOS could not begin the display change (" + std::to_string(c) + ")."; };
  const auto position = [](int c) { return "macOS could not position the iPad display (" + std::to_string(c) + ")."; };
  const std::string notPlaced = position(1001);
  const auto none = [](sim::DisplayServer&) {};
  const auto failOrigin = [](int index, int code) {
    return [=](sim::DisplayServer& s) { s.failOrigin = std::pair(index, code); };
  };
  const struct {
    const char* name;
    std::function<void(sim::DisplayServer&)> fault;
    Origins origins;
    std::string sentence;
    int cancelled;
  } rows[] = {
      {"begin fails", [](auto& s) { s.failBegin = -7; }, both, begin(-7), 0},
      {"begin gives none", [](auto& s) { s.beginWithoutConfiguration = true; }, both, begin(0), 0},
      {"first origin fails", failOrigin(0, 1001), both, notPlaced, 1},
      {"second origin fails", failOrigin(1, -1004), both, position(-1004), 1},
      {"display gone", [](auto& s) { s.disconnect(2); }, both, notPlaced, 1},
      // Completion ends the configuration even when it fails: cancelling would use a dead handle.
      {"completion fails", [](auto& s) { s.failComplete = 1010; }, both, "macOS rejected the display layout (1010).",
       0},
      {"NaN origin", none, {{3, {1440, 0}}, {2, {nan, 0}}}, notPlaced, 1},
      {"infinite origin", none, {{3, {1440, 0}}, {2, {0, -inf}}}, notPlaced, 1},
      {"origin beyond 32 bits", none, {{3, {1440, 0}}, {2, {3e9, 0}}}, notPlaced, 1},
      {"origin just below 32 bits", none, {{3, {-2147483648.5, 0}}}, notPlaced, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Fixture f;
    row.fault(f.server);
    f.loop.runUntilIdle();
    const int notifiedBefore = f.notified;
    const std::vector<Rect> before = f.allBounds();
    EXPECT_EQ(f.place(row.origins), row.sentence);
    EXPECT_EQ(f.allBounds(), before);
    EXPECT_TRUE(f.server.completedLayouts().empty());
    EXPECT_EQ(f.server.cancelledConfigurations(), row.cancelled);
    EXPECT_EQ(f.server.deadConfigurationUses(), 0);
    EXPECT_FALSE(f.server.configurationOpen());
    f.loop.runUntilIdle();
    EXPECT_EQ(f.notified, notifiedBefore);

    // Nothing is left behind that would block the next change.
    f.server.failBegin.reset(), f.server.failOrigin.reset(), f.server.failComplete.reset();
    f.server.beginWithoutConfiguration = false;
    EXPECT_EQ(f.place({{3, {1440, 0}}}), "placed");
  }

  // A cancel that throws is tried again: a configuration left open would refuse every later change.
  Fixture f;
  ThrowPlan plan;
  ThrowingDisplays throwing(f.server, plan);
  f.server.failOrigin = std::pair(0, 1001);
  plan.arm("cancelConfiguration", std::make_exception_ptr(std::bad_alloc()));
  EXPECT_THROW(DisplayLayout::place(throwing, both), AppFailure);
  EXPECT_FALSE(f.server.configurationOpen());
}
