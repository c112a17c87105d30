#pragma once

#include <Foundation/NSDate.h>
#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSOperatingSystemVersion /documentation/Foundation/OperatingSystemVersion macOS 10.10
typedef struct {
  NSInteger majorVersion;
  NSInteger minorVersion;
  NSInteger patchVersion;
} NSOperatingSystemVersion;

// @doc NSProcessInfo /documentation/Foundation/ProcessInfo macOS 10.0
@interface NSProcessInfo : NSObject
// @doc processInfo /documentation/Foundation/ProcessInfo/processInfo macOS 10.0
@property(class, readonly, strong) NSProcessInfo* processInfo;
// @doc systemUptime /documentation/Foundation/ProcessInfo/systemUptime macOS 10.6
@property(readonly) NSTimeInterval systemUptime;
// @doc processIdentifier /documentation/Foundation/ProcessInfo/processIdentifier macOS 10.0
@property(readonly) int processIdentifier;
// @doc operatingSystemVersion /documentation/Foundation/ProcessInfo/operatingSystemVersion macOS 10.10
@property(readonly) NSOperatingSystemVersion operatingSystemVersion;
// @doc isOperatingSystemAtLeastVersion /documentation/Foundation/ProcessInfo/isOperatingSystemAtLeast(_:) macOS 10.10
- (BOOL)isOperatingSystemAtLeastVersion:(NSOperatingSystemVersion)version;
@end

#pragma clang assume_nonnull end
