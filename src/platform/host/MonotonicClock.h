#pragma once

#include <chrono>

namespace turnlet::host {

// Seconds on the machine's monotonic clock, which does not jump when the wall clock is set.
inline double monotonicSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace turnlet::host
