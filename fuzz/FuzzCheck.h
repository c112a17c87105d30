#pragma once

#include <cstdio>
#include <cstdlib>

namespace turnlet::fuzz {

// A property that failed: reported like a crash, so libFuzzer keeps the input.
inline void check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property failed: %s\n", property);
  std::abort();
}

}  // namespace turnlet::fuzz
