#pragma once

#include <cstdlib>
#include <ctime>

namespace turnlet::bench {

// CPU time of the whole process (every thread), in seconds.
inline double processCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// How long a timed run lasts: the environment variable's seconds when positive, else 10.
inline double runSeconds(const char* variable) {
  const char* text = std::getenv(variable);
  const double seconds = text && *text ? std::strtod(text, nullptr) : 10;
  return seconds > 0 ? seconds : 10;
}

}  // namespace turnlet::bench
