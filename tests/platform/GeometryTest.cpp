#include <gtest/gtest.h>

#include <limits>

#include "platform/Geometry.h"

using namespace turnlet;

TEST(Rect, ContainmentIncludesMinimumEdgesAndExcludesMaximumEdges) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Rect r(10, 20, 100, 50), flipped(110, 70, -100, -50);  // the same rectangle, standardised
  EXPECT_EQ(flipped, r);
  const struct {
    Point point;
    bool inside;
  } rows[] = {{{10, 20}, true},     {{109.999, 69.999}, true}, {{110, 30}, false}, {{50, 70}, false},
              {{9.999, 30}, false}, {{50, 19.999}, false},     {{nan, 30}, false}};
  for (const auto& row : rows) {
    EXPECT_EQ(r.contains(row.point), row.inside) << row.point.x << "," << row.point.y;
    EXPECT_EQ(flipped.contains(row.point), row.inside) << row.point.x << "," << row.point.y;
  }
  // Empty means null, or a zero or NaN side: such rectangles contain nothing.
  for (const Rect& empty :
       {Rect::null(), Rect(5, 5, 0, 10), Rect(5, 5, 10, 0), Rect(5, 5, nan, 10), Rect(5, 5, 10, nan)}) {
    EXPECT_TRUE(empty.isEmpty()) << empty.size.width << " × " << empty.size.height;
    EXPECT_FALSE(empty.contains({5, 5}));
  }
}

TEST(Rect, UnionStartsFromTheNullRectangle) {
  const Rect all = Rect::null().united(Rect(0, 0, 1440, 900)).united(Rect(1440, -100, 1366, 1024));
  EXPECT_EQ(all, Rect(0, -100, 2806, 1024));
  EXPECT_EQ(all.united(Rect::null()), all);
  // Union with an empty but placed rectangle still reaches its origin, as the platform's does.
  EXPECT_EQ(Rect(0, 0, 10, 10).united(Rect(20, 20, 0, 0)), Rect(0, 0, 20, 20));
  EXPECT_EQ(Rect::null(), Rect::null());
  EXPECT_NE(Rect::null(), Rect(0, 0, 0, 0));
}
