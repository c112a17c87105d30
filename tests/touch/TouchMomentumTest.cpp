#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "touch/TouchMomentum.h"

using namespace turnlet;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double largest = std::numeric_limits<double>::max();

}  // namespace

TEST(TouchMomentum, FrictionKeepsPointNineNineEightPerMillisecond) {
  EXPECT_DOUBLE_EQ(TouchMomentum::friction, -1000 * std::log(0.998));
  EXPECT_NEAR(std::exp(-TouchMomentum::friction * 0.001), 0.998, 1e-15);
}

TEST(TouchMomentum, StartingVelocityIsCappedAndChecked) {
  const struct {
    const char* label;
    Size velocity;
    Size expected;
    bool active;
  } rows[] = {
      {"capped to 6000 along the same direction", {6000, 8000}, {3600, 4800}, true},
      {"at the cap unchanged", {0, -6000}, {0, -6000}, true},
      {"too slow", {3, 4}, {3, 4}, false},
      {"exactly the minimum speed", {0, 8}, {0, 8}, true},
      {"just under the minimum speed", {-7.999, 0}, {-7.999, 0}, false},
      {"NaN", {notANumber, 100}, {0, 0}, false},
      {"infinite", {100, -inf}, {0, 0}, false},
      // The length of this vector overflows; capping must still keep its direction.
      {"largest finite components", {largest, -largest}, {6000 / std::sqrt(2.0), -6000 / std::sqrt(2.0)}, true},
      {"largest along one axis", {-largest, 0}, {-6000, 0}, true},
  };
  for (const auto& row : rows) {
    const TouchMomentum momentum(row.velocity);
    EXPECT_NEAR(momentum.velocityX, row.expected.width, 1e-9) << row.label;
    EXPECT_NEAR(momentum.velocityY, row.expected.height, 1e-9) << row.label;
    EXPECT_EQ(momentum.isActive, row.active) << row.label;
    EXPECT_EQ(momentum.elapsed, 0) << row.label;
  }
}

TEST(TouchMomentum, OneTickIsTheExactIntegral) {
  TouchMomentum momentum({3600, 4800});
  const std::optional<Size> moved = momentum.advance(1.0 / 60);
  ASSERT_TRUE(moved.has_value());
  // (1 − e^(−k/60)) / k of each component, k the friction; the velocity keeps e^(−k/60).
  EXPECT_NEAR(moved->width, 59.010039784121744, 1e-9);
  EXPECT_NEAR(moved->height, 78.68005304549565, 1e-9);
  EXPECT_NEAR(momentum.velocityX, 3481.8617427556637, 1e-9);
  EXPECT_NEAR(momentum.velocityY, 4642.482323674218, 1e-9);
  EXPECT_DOUBLE_EQ(momentum.elapsed, 1.0 / 60);
  EXPECT_TRUE(momentum.isActive);
}

TEST(TouchMomentum, UnusableIntervalsChangeNothing) {
  const TouchMomentum start({3600, 4800});
  for (double dt : {0.0, -0.01, notANumber, inf, -inf}) {
    TouchMomentum momentum = start;
    EXPECT_FALSE(momentum.advance(dt)) << dt;
    EXPECT_EQ(momentum.velocityX, start.velocityX) << dt;
    EXPECT_EQ(momentum.velocityY, start.velocityY) << dt;
    EXPECT_EQ(momentum.elapsed, 0) << dt;
    EXPECT_TRUE(momentum.isActive) << dt;
  }

  // An interval of a second or more (the timer stalled) ends the momentum without a jump.
  TouchMomentum stalled = start;
  EXPECT_FALSE(stalled.advance(1.0));
  EXPECT_FALSE(stalled.isActive);
  EXPECT_EQ(stalled.velocityX, 0);
  EXPECT_EQ(stalled.velocityY, 0);
  EXPECT_FALSE(stalled.advance(1.0 / 60));

  TouchMomentum almostStalled = start;
  EXPECT_TRUE(almostStalled.advance(0.999));
  EXPECT_TRUE(almostStalled.isActive);
}

TEST(TouchMomentum, FourSecondsAtMost) {
  // Only reachable by a value that has already run for nearly four seconds; the last step is cut
  // at the limit and still returned.
  TouchMomentum nearEnd({6000, 0});
  nearEnd.elapsed = 3.99;
  const std::optional<Size> last = nearEnd.advance(1.0 / 60);
  ASSERT_TRUE(last.has_value());
  EXPECT_NEAR(last->width, 6000 * (1 - std::exp(-TouchMomentum::friction * 0.01)) / TouchMomentum::friction, 1e-9);
  EXPECT_FALSE(nearEnd.isActive);
  EXPECT_EQ(nearEnd.velocityX, 0);

  TouchMomentum spent({6000, 0});
  spent.elapsed = 4.0;
  EXPECT_FALSE(spent.advance(1.0 / 60));
  EXPECT_FALSE(spent.isActive);
}

TEST(TouchMomentum, FlingTickedAtSixtyHertzMatchesTheClosedForm) {
  const double k = TouchMomentum::friction;
  const double v0 = 6000;
  const double tick = 1.0 / 60;
  TouchMomentum momentum({0, -v0});  // straight up in source space
  double travelledX = 0;
  double travelledY = 0;
  int ticks = 0;
  while (momentum.isActive && ticks < 1000) {
    const std::optional<Size> moved = momentum.advance(tick);
    ASSERT_TRUE(moved.has_value()) << "tick " << ticks;
    travelledX += moved->width;
    travelledY += moved->height;
    ++ticks;
  }
  const double end = ticks * tick;

  // The speed falls under 8 points per second at ln(6000 / 8) / k ≈ 3.307 s, so on the first tick
  // after that: tick 199, 3.3167 s.
  const double threshold = std::log(v0 / TouchMomentum::minimumSpeed) / k;
  EXPECT_NEAR(threshold, 3.3067, 1e-4);
  EXPECT_EQ(ticks, static_cast<int>(std::ceil(threshold / tick)));
  EXPECT_GE(v0 * std::exp(-k * (end - tick)), TouchMomentum::minimumSpeed);
  EXPECT_LT(v0 * std::exp(-k * end), TouchMomentum::minimumSpeed);

  // ∫₀^T v0 e^(−kt) dt = v0 (1 − e^(−kT)) / k, about 2993 points.
  const double closedForm = v0 * (1 - std::exp(-k * end)) / k;
  EXPECT_NEAR(closedForm, 2993.08, 0.01);
  EXPECT_NEAR(-travelledY, closedForm, 1e-9 * closedForm);
  EXPECT_EQ(travelledX, 0);

  // Another slicing of the same time gives the same distance: the integration is exact, not Euler.
  TouchMomentum uneven({0, -v0});
  double unevenTravelled = 0;
  double unevenTime = 0;
  const double slices[] = {0.004, 0.03, 0.0117, 0.021};
  for (int i = 0; uneven.isActive; ++i) {
    const double dt = slices[i % 4];
    if (const std::optional<Size> moved = uneven.advance(dt)) unevenTravelled += moved->height;
    unevenTime += dt;
  }
  EXPECT_NEAR(-unevenTravelled, v0 * (1 - std::exp(-k * uneven.elapsed)) / k, 1e-9 * closedForm);
  EXPECT_NEAR(uneven.elapsed, unevenTime, 1e-9);
}
