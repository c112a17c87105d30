#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>

namespace turnlet::host {

// Seconds on the machine's monotonic clock, which does not jump when the wall clock is set.
inline double monotonicSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// How long a thread may block waiting for something due in `seconds`: never negative, and at most
// an hour, since a condition variable's deadline overflows for far-off times (the caller simply
// wakes up and waits again).
inline std::chrono::duration<double> boundedWait(double seconds) {
  if (std::isnan(seconds)) return std::chrono::duration<double>(0);
  return std::chrono::duration<double>(std::clamp(seconds, 0.0, 3600.0));
}

}  // namespace turnlet::host
