#import "macos/app/PrivacyPermissions.h"

#import <CoreGraphics/CoreGraphics.h>

namespace turnlet::macos {

bool PrivacyPermissions::preflightScreenCaptureAccess() { return CGPreflightScreenCaptureAccess(); }
bool PrivacyPermissions::requestScreenCaptureAccess() { return CGRequestScreenCaptureAccess(); }
bool PrivacyPermissions::preflightPostEventAccess() { return CGPreflightPostEventAccess(); }
bool PrivacyPermissions::requestPostEventAccess() { return CGRequestPostEventAccess(); }

}  // namespace turnlet::macos
