#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "macos/windows/WindowGeometry.h"

using namespace turnlet;
using namespace turnlet::macos;

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
  for (const Row& row : rows) EXPECT_EQ(platformWindowFrame(row.in), row.out) << row.name;

  const std::vector<std::pair<double, std::optional<double>>> alphas = {
      {0.5, 0.5}, {0, 0}, {1, 1}, {-0.1, 0}, {1.5, 1}, {inf, 1}, {std::nan(""), std::nullopt}};
  for (const auto& [in, out] : alphas) EXPECT_EQ(platformAlpha(in), out) << in;
}
