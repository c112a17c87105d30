#pragma once

#include <optional>
#include <string>

#include "platform/Errors.h"
#include "platform/LoginItem.h"

namespace turnlet::sim {

// The simulated login item of the application: what the system's settings hold for it. Tests
// (and the simulator's World menu) set it as the user would in those settings, and make the
// system refuse a change. Main loop only.
class SimLoginItem : public LoginItem {
 public:
  LoginItemStatus state = LoginItemStatus::notRegistered;
  // The user turned the item off in the settings: registering leaves it waiting for approval.
  bool needsApproval = false;
  // When set, the system refuses register and unregister with this sentence.
  std::optional<std::string> refusal;
  int settingsOpened = 0;

  LoginItemStatus status() override { return state; }
  void registerItem() override {
    refuseIfSet();
    state = needsApproval ? LoginItemStatus::requiresApproval : LoginItemStatus::enabled;
  }
  void unregisterItem() override {
    refuseIfSet();
    state = LoginItemStatus::notRegistered;
  }
  void openSystemSettings() override { ++settingsOpened; }

 private:
  void refuseIfSet() const {
    if (refusal) throw PlatformError("SMAppServiceErrorDomain", 1, *refusal);
  }
};

}  // namespace turnlet::sim
