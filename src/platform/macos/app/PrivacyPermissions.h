#pragma once

#include "platform/Permissions.h"

namespace turnlet::macos {

// Screen recording and event posting through CoreGraphics' preflight and request calls. Main
// thread only.
class PrivacyPermissions final : public Permissions {
 public:
  bool preflightScreenCaptureAccess() override;
  bool requestScreenCaptureAccess() override;
  bool preflightPostEventAccess() override;
  bool requestPostEventAccess() override;
};

}  // namespace turnlet::macos
