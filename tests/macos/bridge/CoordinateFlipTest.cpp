#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "macos/bridge/CoordinateFlip.h"

using namespace turnlet;
using namespace turnlet::macos;

TEST(MacCoordinates, GlobalRectanglesAndAppKitFramesFlipAgainstTheMainDisplay) {
  // A 1440 × 900 main display; the iPad beside it, above it or parked off its top-left corner; a
  // window placed over a display takes exactly that display's place in AppKit's space.
  const double mainHeight = 900;
  struct Row {
    const char* name;
    Rect global;
    WindowFrame frame;
  };
  const std::vector<Row> rows = {
      {"the main display itself", Rect(0, 0, 1440, 900), {0, 0, 1440, 900}},
      {"the iPad, taller, at the right", Rect(1440, 0, 1366, 1024), {1440, -124, 1366, 1024}},
      {"the iPad in portrait at the right", Rect(1440, 0, 1024, 1366), {1440, -466, 1024, 1366}},
      {"a display above", Rect(0, -1117, 1728, 1117), {0, 900, 1728, 1117}},
      {"the iPad parked off the top-left corner", Rect(-1023, -767, 1024, 768), {-1023, 899, 1024, 768}},
      {"a window near the top-left", Rect(10, 25, 300, 200), {10, 675, 300, 200}},
      {"a negative size is standardised", Rect(310, 225, -300, -200), {10, 675, 300, 200}},
  };
  for (const Row& row : rows) {
    const WindowFrame frame = windowFrameFromGlobal(row.global, mainHeight);
    EXPECT_EQ(frame, row.frame) << row.name;
    EXPECT_EQ(globalFromWindowFrame(frame, mainHeight), row.global) << row.name;
  }
  EXPECT_EQ(globalFromWindowFrame({10, 875, 300, -200}, mainHeight), Rect(10, 25, 300, 200));

  // The mouse location: the main display's bottom-left corner is the global point (0, 900).
  EXPECT_EQ(flippedPoint({0, 0}, mainHeight), (Point{0, 900}));
  EXPECT_EQ(flippedPoint(flippedPoint({1500.5, -12}, mainHeight), mainHeight), (Point{1500.5, -12}));

  // Bad input stays bad instead of becoming a plausible rectangle.
  const WindowFrame nan = windowFrameFromGlobal(Rect(0, std::nan(""), 10, 10), mainHeight);
  EXPECT_TRUE(std::isnan(nan.y));
}
