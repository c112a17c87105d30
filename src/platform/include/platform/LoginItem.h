#pragma once

namespace turnlet {

// Where the application stands as a login item of the user's account: not registered, opening at
// login, registered but waiting for the user's approval in the system's settings (also after the
// user turned it off there), or unknown to the system.
enum class LoginItemStatus { notRegistered, enabled, requiresApproval, notFound };

// The application itself as a login item: whether it opens when the user logs in. The user can
// change it in the system's settings at any time, so the status is read afresh each time. Main
// loop only.
class LoginItem {
 public:
  virtual ~LoginItem() = default;
  virtual LoginItemStatus status() = 0;
  // Register and unregister throw Error with the system's sentence when it refuses.
  virtual void registerItem() = 0;
  virtual void unregisterItem() = 0;
  // Opens the Login Items page of the system's settings, where the user approves.
  virtual void openSystemSettings() = 0;
};

}  // namespace turnlet
