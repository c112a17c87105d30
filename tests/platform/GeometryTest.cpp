#include <gtest/gtest.h>

#include <limits>

#include "platform/Geometry.h"

using namespace turnlet;

TEST(Rect, ContainmentIncludesMinimumEdgesAndExcludesMaximumEdges) {
  const Rect r(10, 20, 100, 50);
  const struct {
    Point point;
    bool inside;
  } rows[] = {
      {{10, 20}, true},         {{109.999, 69.999}, true}, {{110, 30}, false}, {{50, 70}, false},
      {{9.999, 30}, false},     {{50, 19.999}, false},     {{60, 45}, true},
      {{std::numeric_limits<double>::quiet_NaN(), 30}, false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(r.contains(row.point), row.inside) << row.point.x << "," << row.point.y;

  // A negative size is read in its standardised form: the same rectangle, the same answers.
  const Rect flipped(110, 70, -100, -50);
  EXPECT_TRUE(flipped.contains({10, 20}));
  EXPECT_FALSE(flipped.contains({110, 70}));
  EXPECT_EQ(flipped, r);

  EXPECT_FALSE(Rect(0, 0, 0, 10).contains({0, 0}));  // empty rectangles contain nothing
  EXPECT_FALSE(Rect::null().contains({0, 0}));
}

TEST(Rect, EmptyMeansNullOrAZeroOrNaNSide) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    Rect rect;
    bool empty;
  } rows[] = {
      {"null", Rect::null(), true},         {"zero width", Rect(5, 5, 0, 10), true},
      {"zero height", Rect(5, 5, 10, 0), true}, {"NaN width", Rect(5, 5, nan, 10), true},
      {"NaN height", Rect(5, 5, 10, nan), true}, {"negative size", Rect(5, 5, -10, -10), false},
      {"ordinary", Rect(5, 5, 10, 10), false},
  };
  for (const auto& row : rows) EXPECT_EQ(row.rect.isEmpty(), row.empty) << row.name;
}

TEST(Rect, UnionStartsFromTheNullRectangle) {
  Rect all = Rect::null();
  EXPECT_TRUE(all.isNull());
  all = all.united(Rect(0, 0, 1440, 900));
  EXPECT_EQ(all, Rect(0, 0, 1440, 900));
  all = all.united(Rect(1440, -100, 1366, 1024));
  EXPECT_EQ(all, Rect(0, -100, 2806, 1024));
  EXPECT_EQ(all.united(Rect::null()), all);

  // Union with an empty but placed rectangle still reaches its origin, as the platform's does.
  EXPECT_EQ(Rect(0, 0, 10, 10).united(Rect(20, 20, 0, 0)), Rect(0, 0, 20, 20));
  EXPECT_EQ(Rect::null(), Rect::null());
  EXPECT_NE(Rect::null(), Rect(0, 0, 0, 0));
}
