#import "macos/system/ProcessSystemVersion.h"

#import <Foundation/Foundation.h>

namespace turnlet::macos {

bool ProcessSystemVersion::isOperatingSystemAtLeast(int major, int minor, int patch) const {
  const NSOperatingSystemVersion version{major, minor, patch};
  return static_cast<bool>([NSProcessInfo.processInfo isOperatingSystemAtLeastVersion:version]);
}

OperatingSystemVersion ProcessSystemVersion::operatingSystemVersion() const {
  const NSOperatingSystemVersion version = NSProcessInfo.processInfo.operatingSystemVersion;
  return {static_cast<int>(version.majorVersion), static_cast<int>(version.minorVersion),
          static_cast<int>(version.patchVersion)};
}

}  // namespace turnlet::macos
