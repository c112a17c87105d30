#pragma once

#include <Foundation/NSDate.h>
#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSProcessInfo /documentation/Foundation/ProcessInfo
@interface NSProcessInfo : NSObject
// @doc processInfo /documentation/Foundation/ProcessInfo/processInfo
@property(class, readonly, strong) NSProcessInfo* processInfo;
// @doc systemUptime /documentation/Foundation/ProcessInfo/systemUptime
@property(readonly) NSTimeInterval systemUptime;
@end

#pragma clang assume_nonnull end
