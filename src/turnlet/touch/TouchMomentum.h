#pragma once

#include <optional>

#include "platform/Geometry.h"

namespace turnlet {

// Scroll momentum after a fling: the velocity decays exponentially and every advance returns the
// exact distance travelled during the interval, so the total does not depend on how the time is
// sliced into ticks.
//
// Active → (speed under minimumSpeed, maximumDuration reached, or an interval of a second or
// more) → inactive, for good; a new fling makes a new value. Values are plain copies.
struct TouchMomentum {
  static constexpr double friction = 2.0020026706730794;  // per second: −1000 · ln 0.998, keeping 0.998 per ms
  static constexpr double maximumSpeed = 6000;            // source points per second; faster flings are capped
  static constexpr double minimumSpeed = 8;               // source points per second; slower is inactive
  static constexpr double launchSpeed = 80;               // source points per second at lift-off to start one at all
  static constexpr double maximumDuration = 4.0;          // seconds of integration at most
  static constexpr double longestInterval = 1.0;          // seconds; a longer gap between ticks ends the momentum

  double velocityX = 0;  // source points per second
  double velocityY = 0;  // source points per second, y down
  double elapsed = 0;    // seconds integrated so far
  bool isActive = false;

  // A non-finite velocity gives an inactive momentum at rest.
  explicit TouchMomentum(Size velocity);

  // The displacement (source points) during the next dt seconds, or nothing when inactive or when
  // dt is not a finite positive number (then nothing changes).
  std::optional<Size> advance(double dt);

 private:
  void stop();
};

}  // namespace turnlet
