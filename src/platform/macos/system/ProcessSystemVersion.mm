#import "macos/system/ProcessSystemVersion.h"

#import <Foundation/Foundation.h>

namespace turnlet::macos {

bool ProcessSystemVersion::isOperatingSystemAtLeast(int major, int minor, int patch) const {
  const NSOperatingSystemVersion version{major, minor, patch};
  return static_cast<bool>([NSProcessInfo.processInfo isOperatingSystemAtLeastVersion:version]);
}

}  // namespace turnlet::macos
