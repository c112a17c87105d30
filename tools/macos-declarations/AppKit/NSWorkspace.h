#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSWorkspace /documentation/AppKit/NSWorkspace
@interface NSWorkspace : NSObject
// @doc sharedWorkspace /documentation/AppKit/NSWorkspace/shared
@property(class, readonly, strong) NSWorkspace* sharedWorkspace;
// @doc notificationCenter /documentation/AppKit/NSWorkspace/notificationCenter
@property(readonly, strong) NSNotificationCenter* notificationCenter;
// @doc accessibilityDisplayShouldReduceMotion /documentation/AppKit/NSWorkspace/accessibilityDisplayShouldReduceMotion
@property(readonly) BOOL accessibilityDisplayShouldReduceMotion;
@end

// @doc NSWorkspaceWillSleepNotification /documentation/AppKit/NSWorkspace/willSleepNotification
extern "C" NSNotificationName const NSWorkspaceWillSleepNotification;
// @doc NSWorkspaceScreensDidSleepNotification /documentation/AppKit/NSWorkspace/screensDidSleepNotification
extern "C" NSNotificationName const NSWorkspaceScreensDidSleepNotification;
// @doc NSWorkspaceDidWakeNotification /documentation/AppKit/NSWorkspace/didWakeNotification
extern "C" NSNotificationName const NSWorkspaceDidWakeNotification;
// @doc NSWorkspaceScreensDidWakeNotification /documentation/AppKit/NSWorkspace/screensDidWakeNotification
extern "C" NSNotificationName const NSWorkspaceScreensDidWakeNotification;

#pragma clang assume_nonnull end
