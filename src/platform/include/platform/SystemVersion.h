#pragma once

namespace turnlet {

struct OperatingSystemVersion {
  int major = 0;
  int minor = 0;
  int patch = 0;
};

// The running operating system's version. Any thread.
class SystemVersion {
 public:
  virtual ~SystemVersion() = default;
  // Whether the system is major.minor.patch or newer.
  virtual bool isOperatingSystemAtLeast(int major, int minor, int patch) const = 0;
  virtual OperatingSystemVersion operatingSystemVersion() const = 0;
};

}  // namespace turnlet
