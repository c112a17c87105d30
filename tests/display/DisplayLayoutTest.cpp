#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "display/AppFailure.h"
#include "display/DisplayLayout.h"
#include "sim/DisplayServer.h"
#include "sim/ManualLoop.h"

using namespace turnlet;

namespace {

using Origins = std::vector<std::pair<DisplayID, Point>>;

sim::SimDisplay simDisplay(DisplayID id, std::string name, Rect bounds, std::uint32_t vendor = 0x0610) {
  sim::SimDisplay d;
  d.id = id, d.name = std::move(name), d.bounds = bounds, d.vendor = vendor;
  return d;
}

// A Mac with an iPad to its right, and an observer counting screen-parameter notifications.
struct Fixture {
  sim::ManualLoop loop;
  sim::DisplayServer server{loop};
  int notified = 0;

  Fixture() {
    server.setUp({simDisplay(1, "Built-in Retina Display", Rect(0, 0, 1440, 900)),
                  simDisplay(2, "Sidecar Display", Rect(1440, 0, 1366, 1024)),
                  simDisplay(3, "Turnlet Desktop", Rect(3000, 0, 1024, 1366), 0x544C)},
                 1);
    server.addScreenParametersObserver([this] { ++notified; });
  }

  std::vector<Rect> allBounds() {
    std::vector<Rect> result;
    for (const sim::SimDisplay& d : server.displays()) result.push_back(d.bounds);
    return result;
  }

  // The sentence place() throws, or "placed".
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
  ASSERT_EQ(f.server.completedLayouts().size(), 1u);
  EXPECT_EQ(f.server.completedLayouts()[0].origins,
            (Origins{{3, {1441, -11}}, {2, {-1366, -1025}}}));
  EXPECT_EQ(f.server.bounds(3), Rect(1441, -11, 1024, 1366));
  EXPECT_EQ(f.server.bounds(2), Rect(-1366, -1025, 1366, 1024));
  EXPECT_EQ(f.server.bounds(1), Rect(0, 0, 1440, 900));
  EXPECT_FALSE(f.server.configurationOpen());
  f.loop.runUntilIdle();
  EXPECT_EQ(f.notified, 1);  // one notification for the whole change

  const struct {
    double value;
    double placed;
  } rounding[] = {{10.5, 11}, {-10.5, -11}, {0.5, 1}, {-0.5, -1}, {2.4999, 2}, {-2.5, -3}, {-0.4, 0}, {7, 7}};
  for (const auto& row : rounding) {
    SCOPED_TRACE(row.value);
    ASSERT_EQ(f.place({{2, {row.value, row.value}}}), "placed");
    EXPECT_EQ(f.server.bounds(2).origin, (Point{row.placed, row.placed}));
  }

  // The limits of a 32-bit coordinate still fit.
  const double top = std::numeric_limits<std::int32_t>::max(), bottom = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(f.place({{2, {top + 0.4, bottom - 0.4}}}), "placed");
  EXPECT_EQ(f.server.bounds(2).origin, (Point{top, bottom}));
}

TEST(DisplayLayout, AnEmptyListCompletesATransactionThatChangesNothing) {
  Fixture f;
  const std::vector<Rect> before = f.allBounds();
  EXPECT_EQ(f.place({}), "placed");
  ASSERT_EQ(f.server.completedLayouts().size(), 1u);
  EXPECT_TRUE(f.server.completedLayouts()[0].origins.empty());
  EXPECT_EQ(f.allBounds(), before);
  f.loop.runUntilIdle();
  EXPECT_EQ(f.notified, 0);  // nothing moved, nothing to tell
}

TEST(DisplayLayout, AFailureAtAnyStepLeavesEveryDisplayWhereItWas) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    const char* name;
    std::function<void(sim::DisplayServer&)> fault;
    Origins origins;
    std::string sentence;
    int cancelled;
  };
  const Origins both = {{3, {1440, 0}}, {2, {-1366, -1024}}};
  const std::vector<Row> rows = {
      {"begin fails", [](auto& s) { s.failBegin = -7; }, both, "macOS could not begin the display change (-7).", 0},
      {"begin gives no configuration", [](auto& s) { s.beginWithoutConfiguration = true; }, both,
       "macOS could not begin the display change (0).", 0},
      {"first origin fails", [](auto& s) { s.failOrigin = {0, 1001}; }, both,
       "macOS could not position the iPad display (1001).", 1},
      {"second origin fails", [](auto& s) { s.failOrigin = {1, -1004}; }, both,
       "macOS could not position the iPad display (-1004).", 1},
      {"display gone", [](auto& s) { s.disconnect(2); }, both, "macOS could not position the iPad display (1001).", 1},
      {"completion fails", [](auto& s) { s.failComplete = 1010; }, both, "macOS rejected the display layout (1010).",
       1},
      {"NaN origin", [](auto&) {}, {{3, {1440, 0}}, {2, {nan, 0}}}, "macOS could not position the iPad display (1001).",
       1},
      {"infinite origin", [](auto&) {}, {{3, {1440, 0}}, {2, {0, -inf}}},
       "macOS could not position the iPad display (1001).", 1},
      {"origin beyond 32 bits", [](auto&) {}, {{3, {1440, 0}}, {2, {3e9, 0}}},
       "macOS could not position the iPad display (1001).", 1},
      {"origin just below 32 bits", [](auto&) {}, {{3, {-2147483648.5, 0}}},
       "macOS could not position the iPad display (1001).", 1},
  };
  for (const Row& row : rows) {
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
    EXPECT_FALSE(f.server.configurationOpen());
    f.loop.runUntilIdle();
    EXPECT_EQ(f.notified, notifiedBefore);

    // Nothing is left behind that would block the next change.
    f.server.failBegin.reset();
    f.server.beginWithoutConfiguration = false;
    f.server.failOrigin.reset();
    f.server.failComplete.reset();
    EXPECT_EQ(f.place({{3, {1440, 0}}}), "placed");
    EXPECT_EQ(f.server.bounds(3).origin, (Point{1440, 0}));
  }
}
