#pragma once

#include <Foundation/NSDate.h>
#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSOperatingSystemVersion /documentation/Foundation/OperatingSystemVersion
typedef struct {
  NSInteger majorVersion;
  NSInteger minorVersion;
  NSInteger patchVersion;
} NSOperatingSystemVersion;

// @doc NSProcessInfo /documentation/Foundation/ProcessInfo
@interface NSProcessInfo : NSObject
// @doc processInfo /documentation/Foundation/ProcessInfo/processInfo
@property(class, readonly, strong) NSProcessInfo* processInfo;
// @doc systemUptime /documentation/Foundation/ProcessInfo/systemUptime
@property(readonly) NSTimeInterval systemUptime;
// @doc isOperatingSystemAtLeastVersion /documentation/Foundation/ProcessInfo/isOperatingSystemAtLeast(_:)
- (BOOL)isOperatingSystemAtLeastVersion:(NSOperatingSystemVersion)version;
@end

#pragma clang assume_nonnull end
