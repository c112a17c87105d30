#pragma once

#include <Foundation/Foundation.h>
#include <sys/types.h>

#pragma clang assume_nonnull begin

// @doc NSRunningApplication /documentation/AppKit/NSRunningApplication macOS 10.6
@interface NSRunningApplication : NSObject
// @doc runningApplicationsWithBundleIdentifier /documentation/AppKit/NSRunningApplication/runningApplications(withBundleIdentifier:) macOS 10.6
+ (NSArray<NSRunningApplication*>*)runningApplicationsWithBundleIdentifier:(NSString*)bundleIdentifier;
// @doc processIdentifier /documentation/AppKit/NSRunningApplication/processIdentifier macOS 10.6
@property(readonly) pid_t processIdentifier;
// @doc bundleURL /documentation/AppKit/NSRunningApplication/bundleURL macOS 10.6
@property(nullable, readonly, copy) NSURL* bundleURL;
@end

#pragma clang assume_nonnull end
