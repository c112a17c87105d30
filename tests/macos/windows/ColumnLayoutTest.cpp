#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "macos/windows/ColumnLayout.h"

using namespace turnlet;
using namespace turnlet::macos;

TEST(MacColumnLayout, ControlsStackDownwardFromTheTopInAppKitSpace) {
  struct Row {
    const char* name;
    Placement at;
    Size natural;
    std::optional<double> fixedWidth;
    Rect frame;
  };
  // One window 300 by 400, the rows placed in order, each below the one before.
  const std::vector<Row> rows = {
      {"natural size, centred", {20, std::nullopt, std::nullopt}, {100, 30}, std::nullopt, Rect({100, 350}, {100, 30})},
      {"given size wins over natural", {10, Size{200, 200}, std::nullopt}, {50, 20}, 200.0, Rect({50, 140}, {200, 200})},
      {"stretched to the inset", {8, std::nullopt, 20.0}, {60, 16}, 260.0, Rect({20, 116}, {260, 16})},
      {"inset wider than the window", {4, std::nullopt, 200.0}, {60, 10}, 0.0, Rect({150, 102}, {0, 10})},
      {"no intrinsic metric", {2, std::nullopt, std::nullopt}, {-1, -1}, std::nullopt, Rect({150, 100}, {0, 0})},
      {"no gap", {0, std::nullopt, std::nullopt}, {40, 12}, std::nullopt, Rect({130, 88}, {40, 12})},
  };
  ColumnLayout layout({300, 400});
  for (const auto& row : rows) {
    EXPECT_EQ(layout.fixedWidth(row.at), row.fixedWidth) << row.name;
    const Rect frame = layout.place(row.at, row.natural);
    EXPECT_EQ(frame.origin, row.frame.origin) << row.name;
    EXPECT_EQ(frame.size, row.frame.size) << row.name;
  }
}
