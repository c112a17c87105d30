#pragma once

// @doc NSTimeInterval /documentation/Foundation/TimeInterval macOS 10.0
typedef double NSTimeInterval;

#include <objc/NSObject.h>

#pragma clang assume_nonnull begin

// @doc NSDate /documentation/Foundation/NSDate macOS 10.0
@interface NSDate : NSObject
// @doc timeIntervalSinceReferenceDate /documentation/Foundation/NSDate/timeIntervalSinceReferenceDate-swift.property macOS 10.0
@property(readonly) NSTimeInterval timeIntervalSinceReferenceDate;
// @doc dateWithTimeIntervalSinceReferenceDate /documentation/Foundation/NSDate/init(timeIntervalSinceReferenceDate:) macOS 10.0
+ (instancetype)dateWithTimeIntervalSinceReferenceDate:(NSTimeInterval)ti;
@end

#pragma clang assume_nonnull end
