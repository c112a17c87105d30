#pragma once

#include "macos/system/NotificationObservers.h"
#include "platform/WorkspaceNotifications.h"

namespace turnlet::macos {

// The sleep and wake notifications of the shared workspace's own notification center (they are
// not posted on the default one), on the main operation queue until each is removed. Main thread
// only.
class SharedWorkspaceNotifications final : public WorkspaceNotifications {
 public:
  SharedWorkspaceNotifications();

  ObserverToken addObserver(WorkspaceNotification name, std::function<void()> block) override;
  void removeObserver(ObserverToken token) override;

 private:
  NotificationObservers observers;
};

}  // namespace turnlet::macos
