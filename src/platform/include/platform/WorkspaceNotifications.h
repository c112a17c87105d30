#pragma once

#include <cstdint>
#include <functional>

namespace turnlet {

// The four sleep and wake notifications of the shared workspace's notification center
// (NSWorkspaceWillSleepNotification, ...ScreensDidSleep..., ...DidWake..., ...ScreensDidWake...).
enum class WorkspaceNotification { willSleep, screensDidSleep, didWake, screensDidWake };

// Registration for workspace notifications. A block is called on the main loop, once per posted
// notification of its name, in the order the system posts them, until its token is removed.
// Main loop only.
class WorkspaceNotifications {
 public:
  using ObserverToken = std::uint64_t;
  virtual ~WorkspaceNotifications() = default;
  virtual ObserverToken addObserver(WorkspaceNotification name, std::function<void()> block) = 0;
  virtual void removeObserver(ObserverToken token) = 0;
};

}  // namespace turnlet
