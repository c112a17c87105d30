#pragma once

#include "platform/SystemVersion.h"

namespace turnlet::macos {

// The running macOS version, from the process information. Any thread.
class ProcessSystemVersion final : public SystemVersion {
 public:
  bool isOperatingSystemAtLeast(int major, int minor, int patch) const override;
  OperatingSystemVersion operatingSystemVersion() const override;
};

}  // namespace turnlet::macos
