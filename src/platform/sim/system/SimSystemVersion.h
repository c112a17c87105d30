#pragma once

#include <atomic>
#include <tuple>

#include "platform/SystemVersion.h"

namespace turnlet::sim {

// The simulated system's version; 27.0.0 unless a test or the simulator window sets another.
class SimSystemVersion : public SystemVersion {
 public:
  std::atomic<int> major{27}, minor{0}, patch{0};

  bool isOperatingSystemAtLeast(int wantedMajor, int wantedMinor, int wantedPatch) const override {
    return std::tuple(major.load(), minor.load(), patch.load()) >= std::tuple(wantedMajor, wantedMinor, wantedPatch);
  }
  OperatingSystemVersion operatingSystemVersion() const override { return {major, minor, patch}; }
};

}  // namespace turnlet::sim
