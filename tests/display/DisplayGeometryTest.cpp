#include <gtest/gtest.h>

#include "display/DisplayGeometry.h"

using namespace turnlet;

// The iPad at the origin in landscape, replaced by a portrait virtual display.
TEST(DisplayGeometry, TheVirtualDisplayKeepsTouchingTheIPadsNeighbours) {
  const Rect ipad(0, 0, 1366, 1024);
  const struct {
    const char* name;
    Rect original;
    std::vector<Rect> neighbors;
    Point expected;
    Size source = {1024, 1366};  // the iPad's size in portrait
  } rows[] = {
      {"Mac on the left", ipad, {Rect(-1440, 0, 1440, 900)}, {0, 0}},
      {"Mac on the right", ipad, {Rect(1366, 0, 1440, 900)}, {342, 0}},
      {"Mac above", ipad, {Rect(0, -900, 1440, 900)}, {0, 0}},
      {"Mac below", ipad, {Rect(0, 1024, 1440, 900)}, {0, -342}},
      {"right, 1.5 points away", ipad, {Rect(1367.5, 0, 1440, 900)}, {343.5, 0}},
      {"right, exactly 2 points away", ipad, {Rect(1368, 0, 1440, 900)}, {344, 0}},
      {"right, 2.5 points away", ipad, {Rect(1368.5, 0, 1440, 900)}, {0, 0}},
      {"below, overlapping by 1.5", ipad, {Rect(0, 1022.5, 1440, 900)}, {0, -343.5}},
      {"corner only", ipad, {Rect(1366, 1024, 1440, 900), Rect(-1440, -900, 1440, 900)}, {0, 0}},
      {"right and below", ipad, {Rect(1366, 0, 1440, 900), Rect(0, 1024, 1366, 900)}, {342, -342}},
      {"last of two right neighbours wins", ipad, {Rect(1366, 0, 100, 500), Rect(1367, 500, 100, 500)}, {343, 0}},
      {"overlapping in both bands sets both", ipad, {Rect(1365, 1023, 500, 500)}, {341, -343}},
      // Read standardised, the neighbour spans -1 to 1 and touches both edges of the sliver.
      {"right edge is tried before left edge", Rect(0, 0, 1, 100), {Rect(1, 0, -2, 100)}, {-11, 0}, {10, 10}},
      {"original read standardised", Rect(1366, 1024, -1366, -1024), {Rect(1366, 0, 1440, 900)}, {342, 0}},
      {"away from the origin", Rect(2000, 300, 1366, 1024), {Rect(560, 0, 1440, 900)}, {2000, 300}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(DisplayGeometry::sourceOrigin(row.original, row.source, row.neighbors), row.expected) << row.name;
}
