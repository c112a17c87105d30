#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "touch/TouchGeometry.h"

using namespace turnlet;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
const char* const kTurnNames[] = {"normal", "right", "inverted", "left"};
std::string name(QuarterTurn turn) { return kTurnNames[quarterTurnCount(turn)]; }

// Content in unflipped view space, and the source it shows (far edges at x = 1800 and y = 300).
const Rect content(100, 50, 400, 200);
const Rect source(1000, -300, 800, 600);

void expectNear(std::optional<Point> mapped, std::optional<Point> expected, const std::string& label) {
  ASSERT_EQ(mapped.has_value(), expected.has_value()) << label;
  if (!expected) return;
  EXPECT_NEAR(mapped->x, expected->x, 1e-9) << label;
  EXPECT_NEAR(mapped->y, expected->y, 1e-9) << label;
}

}  // namespace

// The corner each turn shows, and far edges inside, are checked by the randomised tests below.
TEST(TouchGeometry, SourcePointEdges) {
  // A source narrower than 0.002 points keeps the far edge at half its width.
  EXPECT_NEAR(TouchGeometry::sourcePoint({500, 150}, content, Rect(10, 20, 0.001, 5), QuarterTurn::normal)->x, 10.0005,
              1e-12);
  // Far from the origin 0.001 is lost in rounding: the far edges still land inside.
  const Rect far(1e14, -1e14, 1200, 800);
  for (const Point corner : {Point{100, 250}, Point{500, 250}, Point{500, 50}, Point{100, 50}})
    for (QuarterTurn turn : allQuarterTurns) {
      const auto p = TouchGeometry::sourcePoint(corner, content, far, turn);
      EXPECT_TRUE(p && far.contains(*p)) << name(turn);
    }
}

TEST(TouchGeometry, PointFromViewLocationLetterboxesAndUndoesFlipping) {
  const Rect view(0, 0, 1200, 800), offset(0, 100, 1200, 800), portrait(2000, 0, 800, 1200);
  const auto flipped = ViewCoordinates::flipped, unflipped = ViewCoordinates::unflipped;
  const struct {
    Rect view;
    ViewCoordinates coordinates;
    Point location;
    QuarterTurn rotation;
    std::optional<Point> expected;
  } rows[] = {
      {view, unflipped, {300, 200}, QuarterTurn::right, Point{2200, 300}},  // the portrait source fills the view
      {view, unflipped, {100, 400}, QuarterTurn::normal, std::nullopt},  // in the bar of the pillarbox
      // A flipped view whose bounds start at y = 100 runs from y = 100 at the top to 900.
      {offset, flipped, {300, 700}, QuarterTurn::right, Point{2200, 300}},
  };
  for (const auto& row : rows)
    expectNear(TouchGeometry::point(row.location, row.view, row.coordinates, portrait, row.rotation), row.expected,
               name(row.rotation) + " at " + std::to_string(row.location.x) + ", " + std::to_string(row.location.y));
}

TEST(TouchGeometry, UnusableInputGivesNothing) {
  // An empty rectangle, or any number of a rectangle, point or movement that is not finite.
  const Rect view(0, 0, 1200, 800);
  // The last two are finite and non-empty on paper, but their far edges round onto their near ones.
  std::vector<Rect> bad = {Rect(100, 50, 0, 200), Rect(100, 50, 400, 0), Rect(1e17, 50, 1, 200),
                           Rect(100, -1e17, 400, 2)};
  for (double x : {std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
    bad.insert(bad.end(), {Rect(x, 50, 40, 20), Rect(100, x, 40, 20), Rect(100, 50, x, 20), Rect(100, 50, 40, x)});
    for (QuarterTurn turn : allQuarterTurns)
      EXPECT_FALSE(TouchGeometry::sourcePoint({x, 200}, content, source, turn) ||
                   TouchGeometry::sourcePoint({200, x}, content, source, turn) ||
                   TouchGeometry::sourceDelta({x, 5}, content, source, turn) ||
                   TouchGeometry::sourceDelta({10, x}, content, source, turn))
          << name(turn) << " with " << x;
  }
  for (std::size_t i = 0; i < bad.size(); ++i)
    for (QuarterTurn turn : allQuarterTurns)
      EXPECT_FALSE(TouchGeometry::sourcePoint({200, 200}, bad[i], source, turn) ||
                   TouchGeometry::sourcePoint({200, 200}, content, bad[i], turn) ||
                   TouchGeometry::sourceDelta({10, 5}, bad[i], source, turn) ||
                   TouchGeometry::sourceDelta({10, 5}, content, bad[i], turn) ||
                   TouchGeometry::contentBounds(bad[i], source, turn) ||
                   TouchGeometry::contentBounds(view, bad[i], turn))
          << name(turn) << " with rectangle " << i;
  // Finite rectangles whose arithmetic leaves the range of double: the answer would be infinite.
  EXPECT_FALSE(TouchGeometry::sourcePoint({499, 150}, content, Rect(1.5e308, 0, 1.5e308, 10), QuarterTurn::normal));
  EXPECT_FALSE(TouchGeometry::sourceDelta({1e308, 0}, Rect(0, 0, 1e-10, 1), source, QuarterTurn::normal));
  EXPECT_FALSE(TouchGeometry::contentBounds(Rect(0, 0, 1e308, 1e308), Rect(0, 0, 1e-300, 1e-300), QuarterTurn::normal));
}

TEST(TouchGeometry, RandomisedPropertiesOfTheMapping) {
  std::mt19937_64 random(0x7475726e6c6574);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
  int inside = 0, outside = 0;
  for (int round = 0; round < 2000; ++round) {
    const Rect view(uniform(-500, 500), uniform(-500, 500), uniform(1, 3000), uniform(1, 3000));
    const Rect source(uniform(-5000, 5000), uniform(-5000, 5000), uniform(1, 4000), uniform(1, 4000));
    const QuarterTurn turn = allQuarterTurns[static_cast<std::size_t>(round % 4)];
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
      const double edges[] = {box.minX(), box.maxX(), box.minY(), box.maxY()};
      if (sample < 4) (sample < 2 ? p.x : p.y) = edges[sample];
      const bool within = p.x >= box.minX() && p.x <= box.maxX() && p.y >= box.minY() && p.y <= box.maxY();
      const std::optional<Point> mapped = TouchGeometry::sourcePoint(p, box, source, turn);
      ASSERT_EQ(mapped.has_value(), within);
      EXPECT_TRUE(!mapped || source.contains(*mapped)) << p.x << ", " << p.y;
      ++(within ? inside : outside);
    }

    // Away from the clamped edges, a movement maps to the difference of the mapped points.
    for (int sample = 0; sample < 5; ++sample) {
      const Point p{box.minX() + uniform(0.02, 0.98) * box.width(), box.minY() + uniform(0.02, 0.98) * box.height()};
      const Size move{uniform(-0.01, 0.01) * box.width(), uniform(-0.01, 0.01) * box.height()};
      const std::optional<Point> from = TouchGeometry::sourcePoint(p, box, source, turn);
      const std::optional<Point> to =
          TouchGeometry::sourcePoint({p.x + move.width, p.y + move.height}, box, source, turn);
      const std::optional<Size> delta = TouchGeometry::sourceDelta(move, box, source, turn);
      ASSERT_TRUE(from && to && delta);
      const double tolerance =
          1e-9 * (std::fabs(source.origin.x) + std::fabs(source.origin.y) + source.width() + source.height());
      EXPECT_NEAR(delta->width, to->x - from->x, tolerance);
      EXPECT_NEAR(delta->height, to->y - from->y, tolerance);
    }
  }
  EXPECT_GT(inside, 8000);
  EXPECT_GT(outside, 5000);
}

TEST(TouchGeometry, RandomisedAgreementWithTheRenderedPicture) {
  // The renderer's exact path: the texel of an sw × sh source that target pixel (dx, dy) shows.
  const auto shownTexel = [](int turns, long sw, long sh, long dx, long dy) -> std::pair<long, long> {
    if (turns == 1) return {sw - 1 - dy, dx};
    if (turns == 2) return {sw - 1 - dx, sh - 1 - dy};
    if (turns == 3) return {dy, sh - 1 - dx};
    return {dx, dy};
  };

  // At equal sizes, every pixel centre of a flipped view (rows top-down) maps into its texel.
  std::mt19937_64 random(0x5049584c);
  auto integer = [&](long lo, long hi) { return std::uniform_int_distribution<long>(lo, hi)(random); };
  for (int round = 0; round < 300; ++round) {
    const long sw = integer(1, 48), sh = integer(1, 48);
    const int turns = round % 4;
    const QuarterTurn turn = allQuarterTurns[static_cast<std::size_t>(turns)];
    const Rect source(double(integer(-3000, 3000)), double(integer(-3000, 3000)), double(sw), double(sh));
    const long dw = turns % 2 == 1 ? sh : sw, dh = turns % 2 == 1 ? sw : sh;
    const Rect view(0, double(integer(-50, 50)), double(dw), double(dh));
    SCOPED_TRACE(std::to_string(sw) + " × " + std::to_string(sh) + ", " + name(turn));
    for (long row = 0; row < dh; ++row) {
      for (long column = 0; column < dw; ++column) {
        const std::optional<Point> mapped =
            TouchGeometry::point({column + 0.5, view.minY() + row + 0.5}, view, ViewCoordinates::flipped, source, turn);
        ASSERT_TRUE(mapped.has_value());
        const std::pair<long, long> texel{long(std::floor(mapped->x - source.origin.x)),
                                          long(std::floor(mapped->y - source.origin.y))};
        ASSERT_EQ(texel, shownTexel(turns, sw, sh, column, row)) << "target pixel " << column << ", " << row;
      }
    }
  }
}
