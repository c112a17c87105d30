#import "macos/system/SharedWorkspaceNotifications.h"

#import <AppKit/AppKit.h>

namespace turnlet::macos {

namespace {

NSNotificationName _Nonnull nameOf(WorkspaceNotification name) {
  switch (name) {
    case WorkspaceNotification::willSleep: return NSWorkspaceWillSleepNotification;
    case WorkspaceNotification::screensDidSleep: return NSWorkspaceScreensDidSleepNotification;
    case WorkspaceNotification::didWake: return NSWorkspaceDidWakeNotification;
    case WorkspaceNotification::screensDidWake: return NSWorkspaceScreensDidWakeNotification;
  }
  return NSWorkspaceDidWakeNotification;
}

}  // namespace

SharedWorkspaceNotifications::SharedWorkspaceNotifications()
    : observers(NSWorkspace.sharedWorkspace.notificationCenter) {}

WorkspaceNotifications::ObserverToken SharedWorkspaceNotifications::addObserver(WorkspaceNotification name,
                                                                               std::function<void()> block) {
  return observers.add(nameOf(name), std::move(block));
}

void SharedWorkspaceNotifications::removeObserver(ObserverToken token) { observers.remove(token); }

}  // namespace turnlet::macos
