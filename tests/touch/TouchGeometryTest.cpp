#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "touch/TouchGeometry.h"

using namespace turnlet;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

std::string name(QuarterTurn turn) {
  switch (turn) {
    case QuarterTurn::normal: return "normal";
    case QuarterTurn::right: return "right";
    case QuarterTurn::inverted: return "inverted";
    case QuarterTurn::left: return "left";
  }
  return "?";
}

// Content (100, 50, 400, 200) in unflipped view space, shown from source (1000, −300, 800, 600).
// The far source edges are 1800 and 300; a normalised 1 lands 0.001 inside them.
const Rect content(100, 50, 400, 200);
const Rect source(1000, -300, 800, 600);
constexpr double farX = 1799.999;
constexpr double farY = 299.999;

struct PointRow {
  QuarterTurn rotation;
  Point view;
  Point expected;
};

}  // namespace

TEST(TouchGeometry, SourcePointForEachQuarterTurn) {
  // (200, 200) is u = 0.25 from the left, v = 0.75 up from the bottom. (100, 250) is the picture's
  // top-left corner as seen in the view, (500, 50) its bottom-right corner.
  const std::vector<PointRow> rows = {
      {QuarterTurn::normal, {200, 200}, {1200, -150}},
      {QuarterTurn::right, {200, 200}, {1600, -150}},
      {QuarterTurn::inverted, {200, 200}, {1600, 150}},
      {QuarterTurn::left, {200, 200}, {1200, 150}},
      {QuarterTurn::normal, {100, 250}, {1000, -300}},
      {QuarterTurn::right, {100, 250}, {farX, -300}},
      {QuarterTurn::inverted, {100, 250}, {farX, farY}},
      {QuarterTurn::left, {100, 250}, {1000, farY}},
      {QuarterTurn::normal, {500, 50}, {farX, farY}},
      {QuarterTurn::right, {500, 50}, {1000, farY}},
      {QuarterTurn::inverted, {500, 50}, {1000, -300}},
      {QuarterTurn::left, {500, 50}, {farX, -300}},
  };
  for (const PointRow& row : rows) {
    SCOPED_TRACE(name(row.rotation) + " at (" + std::to_string(row.view.x) + ", " + std::to_string(row.view.y) + ")");
    const std::optional<Point> mapped = TouchGeometry::sourcePoint(row.view, content, source, row.rotation);
    ASSERT_TRUE(mapped.has_value());
    EXPECT_NEAR(mapped->x, row.expected.x, 1e-9);
    EXPECT_NEAR(mapped->y, row.expected.y, 1e-9);
  }
}

TEST(TouchGeometry, SourcePointEdgesAndLetterbox) {
  // The near edges map exactly onto the source's minimum, the far edges just inside its maximum.
  EXPECT_EQ(TouchGeometry::sourcePoint({100, 150}, content, source, QuarterTurn::normal)->x, 1000);
  EXPECT_NEAR(TouchGeometry::sourcePoint({500, 150}, content, source, QuarterTurn::normal)->x, farX, 1e-9);
  EXPECT_TRUE(source.contains(*TouchGeometry::sourcePoint({500, 50}, content, source, QuarterTurn::normal)));

  // Just outside any edge (a letterbox bar) maps to nothing.
  for (QuarterTurn turn : allQuarterTurns) {
    for (Point outside : {Point{99.999, 150}, Point{500.001, 150}, Point{300, 49.999}, Point{300, 250.001}}) {
      EXPECT_FALSE(TouchGeometry::sourcePoint(outside, content, source, turn)) << name(turn);
    }
  }

  // A source narrower than 0.002 points keeps the far edge at half its width.
  const Rect thin(10, 20, 0.001, 5);
  EXPECT_NEAR(TouchGeometry::sourcePoint({500, 150}, content, thin, QuarterTurn::normal)->x, 10.0005, 1e-12);

  // A rectangle with a negative size is read in its standardised form, as the platform does.
  const Rect mirrored(500, 250, -400, -200);
  EXPECT_EQ(TouchGeometry::sourcePoint({200, 200}, mirrored, source, QuarterTurn::right),
            TouchGeometry::sourcePoint({200, 200}, content, source, QuarterTurn::right));
}

TEST(TouchGeometry, SourceDeltaForEachQuarterTurn) {
  // A movement of (10, 5) over a 100 × 100 content is du = 0.1, dv = 0.05 (upwards).
  const Rect box(30, 40, 100, 100);
  const Rect target(7, 9, 400, 300);
  const struct {
    QuarterTurn rotation;
    Size expected;
  } rows[] = {
      {QuarterTurn::normal, {40, -15}},
      {QuarterTurn::right, {20, 30}},
      {QuarterTurn::inverted, {-40, 15}},
      {QuarterTurn::left, {-20, -30}},
  };
  for (const auto& row : rows) {
    const std::optional<Size> delta = TouchGeometry::sourceDelta({10, 5}, box, target, row.rotation);
    ASSERT_TRUE(delta.has_value()) << name(row.rotation);
    EXPECT_NEAR(delta->width, row.expected.width, 1e-12) << name(row.rotation);
    EXPECT_NEAR(delta->height, row.expected.height, 1e-12) << name(row.rotation);
  }
}

TEST(TouchGeometry, ContentBoundsLetterboxesTheRotatedSource) {
  const struct {
    const char* label;
    Rect view;
    Rect source;
    QuarterTurn rotation;
    Rect expected;
  } rows[] = {
      {"landscape source, normal: bars top and bottom", {10, 20, 1000, 1000}, {-500, 0, 800, 400}, QuarterTurn::normal,
       {10, 270, 1000, 500}},
      {"landscape source, inverted", {10, 20, 1000, 1000}, {-500, 0, 800, 400}, QuarterTurn::inverted,
       {10, 270, 1000, 500}},
      {"landscape source, right: bars left and right", {10, 20, 1000, 1000}, {-500, 0, 800, 400}, QuarterTurn::right,
       {260, 20, 500, 1000}},
      {"landscape source, left", {10, 20, 1000, 1000}, {-500, 0, 800, 400}, QuarterTurn::left, {260, 20, 500, 1000}},
      {"portrait source turned to fill exactly", {0, 0, 1200, 800}, {2000, 0, 800, 1200}, QuarterTurn::right,
       {0, 0, 1200, 800}},
      {"enlarged to fit", {0, 0, 1200, 800}, {0, 0, 120, 80}, QuarterTurn::normal, {0, 0, 1200, 800}},
  };
  for (const auto& row : rows) {
    const std::optional<Rect> fit = TouchGeometry::contentBounds(row.view, row.source, row.rotation);
    ASSERT_TRUE(fit.has_value()) << row.label;
    EXPECT_NEAR(fit->origin.x, row.expected.origin.x, 1e-9) << row.label;
    EXPECT_NEAR(fit->origin.y, row.expected.origin.y, 1e-9) << row.label;
    EXPECT_NEAR(fit->size.width, row.expected.size.width, 1e-9) << row.label;
    EXPECT_NEAR(fit->size.height, row.expected.size.height, 1e-9) << row.label;
  }
}

TEST(TouchGeometry, PointFromViewLocationUndoesFlipping) {
  const Rect view(0, 0, 1200, 800);
  const Rect source(2000, 0, 800, 1200);
  const struct {
    QuarterTurn rotation;
    ViewCoordinates coordinates;
    Point location;
    std::optional<Point> expected;
  } rows[] = {
      {QuarterTurn::right, ViewCoordinates::unflipped, {300, 200}, Point{2200, 300}},
      {QuarterTurn::right, ViewCoordinates::flipped, {300, 600}, Point{2200, 300}},
      {QuarterTurn::left, ViewCoordinates::unflipped, {300, 200}, Point{2600, 900}},
      {QuarterTurn::left, ViewCoordinates::flipped, {300, 600}, Point{2600, 900}},
      // Normal and inverted show the portrait source pillarboxed; the view's centre is the source's.
      {QuarterTurn::normal, ViewCoordinates::unflipped, {600, 400}, Point{2400, 600}},
      {QuarterTurn::inverted, ViewCoordinates::flipped, {600, 400}, Point{2400, 600}},
      // The top edge of a flipped view is the top edge of the source for normal.
      {QuarterTurn::normal, ViewCoordinates::flipped, {600, 0}, Point{2400, 0}},
      {QuarterTurn::normal, ViewCoordinates::unflipped, {100, 400}, std::nullopt},
  };
  for (const auto& row : rows) {
    const std::optional<Point> mapped =
        TouchGeometry::point(row.location, view, row.coordinates, source, row.rotation);
    ASSERT_EQ(mapped.has_value(), row.expected.has_value()) << name(row.rotation);
    if (!row.expected) continue;
    EXPECT_NEAR(mapped->x, row.expected->x, 1e-9) << name(row.rotation);
    EXPECT_NEAR(mapped->y, row.expected->y, 1e-9) << name(row.rotation);
  }
}

TEST(TouchGeometry, UnusableInputGivesNothing) {
  const Point point{200, 200};
  const Size delta{10, 5};
  const Rect view(0, 0, 1200, 800);
  for (double bad : {notANumber, inf, -inf}) {
    for (QuarterTurn turn : allQuarterTurns) {
      SCOPED_TRACE(name(turn) + " with " + std::to_string(bad));
      EXPECT_FALSE(TouchGeometry::sourcePoint({bad, 200}, content, source, turn));
      EXPECT_FALSE(TouchGeometry::sourcePoint({200, bad}, content, source, turn));
      EXPECT_FALSE(TouchGeometry::sourceDelta({bad, 5}, content, source, turn));
      EXPECT_FALSE(TouchGeometry::sourceDelta({10, bad}, content, source, turn));
      EXPECT_FALSE(TouchGeometry::point({bad, 1}, view, ViewCoordinates::flipped, source, turn));
      // Each of the four numbers of either rectangle.
      for (int field = 0; field < 4; ++field) {
        Rect badContent = content;
        Rect badSource = source;
        double* contentField[] = {&badContent.origin.x, &badContent.origin.y, &badContent.size.width,
                                  &badContent.size.height};
        double* sourceField[] = {&badSource.origin.x, &badSource.origin.y, &badSource.size.width,
                                 &badSource.size.height};
        *contentField[field] = bad;
        *sourceField[field] = bad;
        EXPECT_FALSE(TouchGeometry::sourcePoint(point, badContent, source, turn)) << field;
        EXPECT_FALSE(TouchGeometry::sourcePoint(point, content, badSource, turn)) << field;
        EXPECT_FALSE(TouchGeometry::sourceDelta(delta, badContent, source, turn)) << field;
        EXPECT_FALSE(TouchGeometry::sourceDelta(delta, content, badSource, turn)) << field;
        EXPECT_FALSE(TouchGeometry::contentBounds(badContent, source, turn)) << field;
        EXPECT_FALSE(TouchGeometry::contentBounds(view, badSource, turn)) << field;
      }
    }
  }
  for (QuarterTurn turn : allQuarterTurns) {
    for (const Rect& empty : {Rect(100, 50, 0, 200), Rect(100, 50, 400, 0), Rect(0, 0, 0, 0)}) {
      EXPECT_FALSE(TouchGeometry::sourcePoint({100, 50}, empty, source, turn));
      EXPECT_FALSE(TouchGeometry::sourcePoint(point, content, empty, turn));
      EXPECT_FALSE(TouchGeometry::sourceDelta(delta, empty, source, turn));
      EXPECT_FALSE(TouchGeometry::sourceDelta(delta, content, empty, turn));
      EXPECT_FALSE(TouchGeometry::contentBounds(empty, source, turn));
      EXPECT_FALSE(TouchGeometry::contentBounds(view, empty, turn));
    }
  }
}

TEST(TouchGeometry, OverflowingResultsGiveNothing) {
  // Finite rectangles whose arithmetic leaves the range of double: the answer would be infinite.
  const Rect huge(1.5e308, 0, 1.5e308, 10);
  EXPECT_FALSE(TouchGeometry::sourcePoint({499, 150}, content, huge, QuarterTurn::normal));
  EXPECT_FALSE(TouchGeometry::sourceDelta({1e308, 0}, Rect(0, 0, 1e-10, 1), source, QuarterTurn::normal));
  EXPECT_FALSE(TouchGeometry::contentBounds(Rect(0, 0, 1e308, 1e308), Rect(0, 0, 1e-300, 1e-300), QuarterTurn::normal));
}

namespace {

// The renderer's exact path for equal sizes: the source texel that target pixel d shows for a
// source of sw × sh texels turned by `turns` quarter turns.
struct Texel {
  long x;
  long y;
  friend bool operator==(const Texel&, const Texel&) = default;
};

Texel shownTexel(int turns, long sw, long sh, long dx, long dy) {
  switch (turns) {
    case 0: return {dx, dy};
    case 1: return {sw - 1 - dy, dx};
    case 2: return {sw - 1 - dx, sh - 1 - dy};
    case 3: return {dy, sh - 1 - dx};
  }
  return {-1, -1};
}

// The source texel containing a source point (source rectangle at an integer origin, one texel
// per point).
Texel texelAt(Point p, const Rect& source) {
  return {static_cast<long>(std::floor(p.x - source.origin.x)), static_cast<long>(std::floor(p.y - source.origin.y))};
}

}  // namespace

TEST(TouchGeometry, TexelTableMatchesTheRendererExamples) {
  // A 4 × 2 source shown turned once in a 2 × 4 target, and three times.
  EXPECT_EQ(shownTexel(1, 4, 2, 0, 0), (Texel{3, 0}));
  EXPECT_EQ(shownTexel(1, 4, 2, 1, 3), (Texel{0, 1}));
  EXPECT_EQ(shownTexel(3, 4, 2, 0, 0), (Texel{0, 1}));

  // The same examples through the touch mapping: the centre of a target pixel, as a location in a
  // flipped 2 × 4 view (rows top-down like the target), lands in the texel shown there.
  const Rect source(-3, 7, 4, 2);
  const Rect view(0, 0, 2, 4);
  EXPECT_EQ(texelAt(*TouchGeometry::point({0.5, 0.5}, view, ViewCoordinates::flipped, source, QuarterTurn::right), source),
            (Texel{3, 0}));
  EXPECT_EQ(texelAt(*TouchGeometry::point({1.5, 3.5}, view, ViewCoordinates::flipped, source, QuarterTurn::right), source),
            (Texel{0, 1}));
  EXPECT_EQ(texelAt(*TouchGeometry::point({0.5, 0.5}, view, ViewCoordinates::flipped, source, QuarterTurn::left), source),
            (Texel{0, 1}));
}

TEST(TouchGeometry, RandomisedPropertiesOfTheMapping) {
  std::mt19937_64 random(0x7475726e6c6574);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
  auto integer = [&](long lo, long hi) { return std::uniform_int_distribution<long>(lo, hi)(random); };
  auto anyTurn = [&] { return allQuarterTurns[static_cast<std::size_t>(integer(0, 3))]; };

  int inside = 0;
  int outside = 0;
  int derivatives = 0;
  for (int round = 0; round < 2000; ++round) {
    const Rect view(uniform(-500, 500), uniform(-500, 500), uniform(1, 3000), uniform(1, 3000));
    const Rect source(uniform(-5000, 5000), uniform(-5000, 5000), uniform(1, 4000), uniform(1, 4000));
    const QuarterTurn turn = anyTurn();
    SCOPED_TRACE("round " + std::to_string(round) + ", " + name(turn));
    const std::optional<Rect> fit = TouchGeometry::contentBounds(view, source, turn);
    ASSERT_TRUE(fit.has_value());
    const Rect box = *fit;

    // The letterbox fills the view along one axis, sits centred in it and keeps the rotated aspect.
    const Size rotated = sourceSize(turn, source.size);
    EXPECT_NEAR(box.width() / box.height(), rotated.width / rotated.height, 1e-9 * rotated.width / rotated.height);
    EXPECT_TRUE(std::fabs(box.width() - view.width()) < 1e-9 * view.width() ||
                std::fabs(box.height() - view.height()) < 1e-9 * view.height());
    EXPECT_NEAR(box.midX(), view.midX(), 1e-9 * view.width());
    EXPECT_NEAR(box.midY(), view.midY(), 1e-9 * view.height());

    // Inside the content (edges included) maps into the source rectangle; outside never maps.
    for (int sample = 0; sample < 20; ++sample) {
      Point p{uniform(view.minX() - 0.2 * view.width(), view.maxX() + 0.2 * view.width()),
              uniform(view.minY() - 0.2 * view.height(), view.maxY() + 0.2 * view.height())};
      if (sample == 0) p.x = box.minX();
      if (sample == 1) p.x = box.maxX();
      if (sample == 2) p.y = box.minY();
      if (sample == 3) p.y = box.maxY();
      const bool within = p.x >= box.minX() && p.x <= box.maxX() && p.y >= box.minY() && p.y <= box.maxY();
      const std::optional<Point> mapped = TouchGeometry::sourcePoint(p, box, source, turn);
      if (within) {
        ++inside;
        ASSERT_TRUE(mapped.has_value());
        EXPECT_TRUE(source.contains(*mapped)) << mapped->x << ", " << mapped->y;
      } else {
        ++outside;
        EXPECT_FALSE(mapped.has_value());
      }
    }

    // Away from the clamped edges, a small movement maps to the difference of the mapped points.
    for (int sample = 0; sample < 5; ++sample) {
      const Point p{box.minX() + uniform(0.02, 0.98) * box.width(), box.minY() + uniform(0.02, 0.98) * box.height()};
      const Size move{uniform(-0.01, 0.01) * box.width(), uniform(-0.01, 0.01) * box.height()};
      const std::optional<Point> from = TouchGeometry::sourcePoint(p, box, source, turn);
      const std::optional<Point> to = TouchGeometry::sourcePoint({p.x + move.width, p.y + move.height}, box, source, turn);
      const std::optional<Size> delta = TouchGeometry::sourceDelta(move, box, source, turn);
      ASSERT_TRUE(from && to && delta);
      const double tolerance = 1e-9 * (std::fabs(source.origin.x) + std::fabs(source.origin.y) + source.width() + source.height());
      EXPECT_NEAR(delta->width, to->x - from->x, tolerance);
      EXPECT_NEAR(delta->height, to->y - from->y, tolerance);
      ++derivatives;
    }
  }
  // The sampling really exercised both sides of the containment test.
  EXPECT_GT(inside, 8000);
  EXPECT_GT(outside, 5000);
  EXPECT_EQ(derivatives, 10000);
}

TEST(TouchGeometry, RandomisedAgreementWithTheRenderedPicture) {
  // For equal sizes (one view point per source texel) the view shows source texels exactly as the
  // renderer places them; the centre of every view pixel must map into that pixel's texel.
  std::mt19937_64 random(0x5049584c);
  auto integer = [&](long lo, long hi) { return std::uniform_int_distribution<long>(lo, hi)(random); };
  long checked = 0;
  for (int round = 0; round < 300; ++round) {
    const long sw = integer(1, 48);
    const long sh = integer(1, 48);
    const int turns = static_cast<int>(integer(0, 3));
    const QuarterTurn turn = allQuarterTurns[static_cast<std::size_t>(turns)];
    const Rect source(static_cast<double>(integer(-3000, 3000)), static_cast<double>(integer(-3000, 3000)),
                      static_cast<double>(sw), static_cast<double>(sh));
    const long dw = turns % 2 == 1 ? sh : sw;
    const long dh = turns % 2 == 1 ? sw : sh;
    const Rect view(0, 0, static_cast<double>(dw), static_cast<double>(dh));
    SCOPED_TRACE(std::to_string(sw) + " × " + std::to_string(sh) + ", " + name(turn));
    const std::optional<Rect> box = TouchGeometry::contentBounds(view, source, turn);
    ASSERT_TRUE(box.has_value());
    ASSERT_EQ(*box, view);
    for (long row = 0; row < dh; ++row) {
      for (long column = 0; column < dw; ++column) {
        const Texel expected = shownTexel(turns, sw, sh, column, row);
        // Rows of the target run downwards; in the unflipped view they run from the top.
        const Point unflipped{column + 0.5, static_cast<double>(dh) - (row + 0.5)};
        const std::optional<Point> mapped = TouchGeometry::sourcePoint(unflipped, *box, source, turn);
        ASSERT_TRUE(mapped.has_value());
        ASSERT_EQ(texelAt(*mapped, source), expected) << "target pixel " << column << ", " << row;
        const std::optional<Point> viaFlipped =
            TouchGeometry::point({column + 0.5, row + 0.5}, view, ViewCoordinates::flipped, source, turn);
        ASSERT_TRUE(viaFlipped.has_value());
        ASSERT_EQ(texelAt(*viaFlipped, source), expected) << "target pixel " << column << ", " << row;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 50000);
}
