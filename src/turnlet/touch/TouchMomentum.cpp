#include "touch/TouchMomentum.h"

#include <algorithm>
#include <cmath>

namespace turnlet {

namespace {

// Slightly under maximumDuration so that a sum of steps that should reach it, but rounds just
// below, still ends the momentum.
constexpr double durationEndSeconds = 3.999999999999;

}  // namespace

TouchMomentum::TouchMomentum(Size velocity) {
  if (!std::isfinite(velocity.width) || !std::isfinite(velocity.height)) return;
  double vx = velocity.width;
  double vy = velocity.height;
  double speed = std::hypot(vx, vy);
  if (speed > maximumSpeed) {
    // Normalise by the larger component first: the length of a finite vector near the limit of
    // double overflows to infinity, which would scale the vector to nothing.
    const double largest = std::max(std::fabs(vx), std::fabs(vy));
    const double ux = vx / largest;
    const double uy = vy / largest;
    const double unitLength = std::hypot(ux, uy);
    vx = ux / unitLength * maximumSpeed;
    vy = uy / unitLength * maximumSpeed;
    speed = maximumSpeed;
  }
  velocityX = vx;
  velocityY = vy;
  isActive = speed >= minimumSpeed;
}

std::optional<Size> TouchMomentum::advance(double dt) {
  if (!isActive || !std::isfinite(dt) || !(dt > 0)) return std::nullopt;
  const double remaining = maximumDuration - elapsed;
  if (dt >= longestInterval || remaining <= 0) {
    stop();
    return std::nullopt;
  }
  const double step = std::min(remaining, dt);
  const double decay = std::exp(-friction * step);
  const double factor = (1 - decay) / friction;  // ∫₀^step e^(−friction·t) dt
  const Size displacement{velocityX * factor, velocityY * factor};
  velocityX *= decay;
  velocityY *= decay;
  elapsed += step;
  if (elapsed >= durationEndSeconds || std::hypot(velocityX, velocityY) < minimumSpeed) stop();
  return displacement;
}

void TouchMomentum::stop() {
  isActive = false;
  velocityX = 0;
  velocityY = 0;
}

}  // namespace turnlet
