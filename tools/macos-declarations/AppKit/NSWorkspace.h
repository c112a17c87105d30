#pragma once

#include <AppKit/NSRunningApplication.h>
#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSWorkspaceOpenConfiguration /documentation/AppKit/NSWorkspace/OpenConfiguration macOS 10.15
@interface NSWorkspaceOpenConfiguration : NSObject
// @doc configuration /documentation/AppKit/NSWorkspaceOpenConfiguration/configuration macOS 10.15
+ (instancetype)configuration;
@end

// @doc NSWorkspace /documentation/AppKit/NSWorkspace macOS 10.0
@interface NSWorkspace : NSObject
// @doc sharedWorkspace /documentation/AppKit/NSWorkspace/shared macOS 10.0
@property(class, readonly, strong) NSWorkspace* sharedWorkspace;
// @doc notificationCenter /documentation/AppKit/NSWorkspace/notificationCenter macOS 10.0
@property(readonly, strong) NSNotificationCenter* notificationCenter;
// @doc accessibilityDisplayShouldReduceMotion /documentation/AppKit/NSWorkspace/accessibilityDisplayShouldReduceMotion macOS 10.12
@property(readonly) BOOL accessibilityDisplayShouldReduceMotion;
// @doc openApplicationAtURL /documentation/AppKit/NSWorkspace/openApplication(at:configuration:completionHandler:) macOS 10.15
- (void)openApplicationAtURL:(NSURL*)applicationURL
               configuration:(NSWorkspaceOpenConfiguration*)configuration
           completionHandler:(void (^_Nullable)(NSRunningApplication* _Nullable app, NSError* _Nullable error))completionHandler;
@end

// @doc NSWorkspaceWillSleepNotification /documentation/AppKit/NSWorkspace/willSleepNotification macOS 10.0
extern "C" NSNotificationName const NSWorkspaceWillSleepNotification;
// @doc NSWorkspaceScreensDidSleepNotification /documentation/AppKit/NSWorkspace/screensDidSleepNotification macOS 10.6
extern "C" NSNotificationName const NSWorkspaceScreensDidSleepNotification;
// @doc NSWorkspaceDidWakeNotification /documentation/AppKit/NSWorkspace/didWakeNotification macOS 10.0
extern "C" NSNotificationName const NSWorkspaceDidWakeNotification;
// @doc NSWorkspaceScreensDidWakeNotification /documentation/AppKit/NSWorkspace/screensDidWakeNotification macOS 10.6
extern "C" NSNotificationName const NSWorkspaceScreensDidWakeNotification;

#pragma clang assume_nonnull end
