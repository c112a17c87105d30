#pragma once

#include "platform/LoginItem.h"

namespace turnlet::macos {

// The application as its own login item through ServiceManagement's main-application service
// (macOS 13 and later, below the deployment target). Main thread only.
class MacLoginItem final : public LoginItem {
 public:
  LoginItemStatus status() override;
  void registerItem() override;
  void unregisterItem() override;
  void openSystemSettings() override;
};

}  // namespace turnlet::macos
