#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "touch/TouchMomentum.h"

using namespace turnlet;

TEST(TouchMomentum, StartsCappedTicksExactlyAndIgnoresUnusableIntervals) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), largest = std::numeric_limits<double>::max();
  // Capped to 6000 along the same direction, too slow, the minimum, not finite, overflowing length.
  const std::tuple<Size, Size, bool> rows[] = {
      {{6000, 8000}, {3600, 4800}, true}, {{3, 4}, {3, 4}, false}, {{0, 8}, {0, 8}, true}, {{nan, 100}, {0, 0}, false},
      {{100, -HUGE_VAL}, {0, 0}, false}, {{largest, -largest}, {6000 / std::sqrt(2.0), -6000 / std::sqrt(2.0)}, true}};
  for (const auto& [velocity, expected, active] : rows) {
    const TouchMomentum momentum(velocity);
    EXPECT_NEAR(momentum.velocityX, expected.width, 1e-9) << velocity.width << ", " << velocity.height;
    EXPECT_NEAR(momentum.velocityY, expected.height, 1e-9) << velocity.width << ", " << velocity.height;
    EXPECT_EQ(momentum.isActive, active) << velocity.width << ", " << velocity.height;
  }
  TouchMomentum momentum({3600, 4800});
  const TouchMomentum start = momentum;
  for (double dt : {0.0, -0.01, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(momentum.advance(dt)) << dt;
    EXPECT_EQ(momentum.velocityX, start.velocityX) << dt;
    EXPECT_EQ(momentum.elapsed, 0) << dt;
  }
  // (1 − e^(−k/60)) / k of each component, k the friction; the velocity keeps e^(−k/60).
  const std::optional<Size> moved = momentum.advance(1.0 / 60);
  ASSERT_TRUE(moved.has_value());
  EXPECT_NEAR(moved->width, 59.010039784121744, 1e-9);
  EXPECT_NEAR(moved->height, 78.68005304549565, 1e-9);
  EXPECT_NEAR(momentum.velocityX, 3481.8617427556637, 1e-9);
  EXPECT_NEAR(momentum.velocityY, 4642.482323674218, 1e-9);
  EXPECT_TRUE(momentum.isActive);

  // An interval of a second or more (the timer stalled) ends the momentum without a jump.
  EXPECT_TRUE(TouchMomentum(start).advance(0.999));
  EXPECT_FALSE(momentum.advance(1.0));
  EXPECT_TRUE(!momentum.isActive && momentum.velocityX == 0 && !momentum.advance(1.0 / 60));

  // Four seconds at most; the last step is cut at the limit and still returned.
  TouchMomentum nearEnd({6000, 0});
  nearEnd.elapsed = 3.99;
  const double k = TouchMomentum::friction;
  EXPECT_NEAR(nearEnd.advance(1.0 / 60).value().width, 6000 * (1 - std::exp(-k * 0.01)) / k, 1e-9);
  EXPECT_FALSE(nearEnd.isActive);
}

TEST(TouchMomentum, FlingTickedAtSixtyHertzMatchesTheClosedForm) {
  const double k = TouchMomentum::friction, v0 = 6000, tick = 1.0 / 60;
  TouchMomentum momentum({0, -v0});                 // straight up in source space
  double travelledX = 0, travelledY = 0;
  int ticks = 0;
  for (; momentum.isActive && ticks < 1000; ++ticks) {
    const std::optional<Size> moved = momentum.advance(tick);
    ASSERT_TRUE(moved.has_value()) << "tick " << ticks;
    travelledX += moved->width, travelledY += moved->height;
  }
  // The speed falls under 8 points per second at ln(6000 / 8) / k ≈ 3.307 s: on tick 199.
  EXPECT_EQ(ticks, 199);
  // ∫₀^T v0 e^(−kt) dt = v0 (1 − e^(−kT)) / k, about 2993 points.
  EXPECT_NEAR(-travelledY, v0 * (1 - std::exp(-k * ticks * tick)) / k, 1e-6);
  EXPECT_EQ(travelledX, 0);

  // Another slicing of the same time gives the same distance: the integration is exact, not Euler.
  TouchMomentum uneven({0, -v0});
  double unevenTravelled = 0;
  const double slices[] = {0.004, 0.03, 0.0117, 0.021};
  for (int i = 0; uneven.isActive; ++i)
    if (const std::optional<Size> moved = uneven.advance(slices[i % 4])) unevenTravelled += moved->height;
  EXPECT_NEAR(-unevenTravelled, v0 * (1 - std::exp(-k * uneven.elapsed)) / k, 1e-6);
}
