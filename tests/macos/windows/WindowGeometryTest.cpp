#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "macos/bridge/CoordinateFlip.h"
#include "macos/windows/WindowGeometry.h"

using namespace turnlet;
using namespace turnlet::macos;

namespace {

bool same(const WindowFrame& a, const WindowFrame& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

}  // namespace

TEST(MacWindowGeometry, FramesReachAppKitStandardisedAndNeverNonFinite) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    const char* name;
    WindowFrame in;
    std::optional<WindowFrame> out;
  };
  const std::vector<Row> rows = {
      {"as it is", {1440, -466, 1024, 1366}, WindowFrame{1440, -466, 1024, 1366}},
      {"zero", {0, 0, 0, 0}, WindowFrame{0, 0, 0, 0}},
      {"negative width", {100, 50, -40, 30}, WindowFrame{60, 50, 40, 30}},
      {"negative height", {100, 50, 40, -30}, WindowFrame{100, 20, 40, 30}},
      {"NaN origin", {std::nan(""), 0, 10, 10}, std::nullopt},
      {"infinite size", {0, 0, inf, 10}, std::nullopt},
      {"infinite y", {0, -inf, 10, 10}, std::nullopt},
  };
  for (const Row& row : rows) {
    const auto got = platformWindowFrame(row.in);
    ASSERT_EQ(got.has_value(), row.out.has_value()) << row.name;
    if (got) {
      EXPECT_TRUE(same(*got, *row.out)) << row.name;
    }
  }

  struct AlphaRow {
    double in;
    std::optional<double> out;
  };
  for (const AlphaRow& row : std::vector<AlphaRow>{{0.5, 0.5}, {0, 0}, {1, 1}, {-0.1, 0}, {1.5, 1}, {inf, 1}, {std::nan(""), std::nullopt}})
    EXPECT_EQ(platformAlpha(row.in), row.out) << row.in;
}

TEST(MacWindowGeometry, AWindowOverADisplayTakesTheDisplaysPlaceInAppKitSpace) {
  // Display bounds (top-left origin) against a 900-point main display become window frames
  // (bottom-left origin) that cover exactly that display, and back.
  struct Row {
    const char* name;
    Rect bounds;
    WindowFrame frame;
  };
  const std::vector<Row> rows = {
      {"the main display", Rect(0, 0, 1440, 900), {0, 0, 1440, 900}},
      {"a portrait iPad to the right", Rect(1440, 0, 1024, 1366), {1440, -466, 1024, 1366}},
      {"an iPad above the main display", Rect(0, -1024, 1366, 1024), {0, 900, 1366, 1024}},
      {"an iPad parked off the top-left corner", Rect(-1023, -767, 1024, 768), {-1023, 899, 1024, 768}},
  };
  for (const Row& row : rows) {
    const WindowFrame frame = windowFrameFromGlobal(row.bounds, 900);
    EXPECT_TRUE(same(frame, row.frame)) << row.name << ": " << frame.x << "," << frame.y;
    const auto platform = platformWindowFrame(frame);
    ASSERT_TRUE(platform) << row.name;
    EXPECT_EQ(globalFromWindowFrame(*platform, 900), row.bounds) << row.name;
  }
}
