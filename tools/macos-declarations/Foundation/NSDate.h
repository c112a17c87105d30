#pragma once

// @doc NSTimeInterval /documentation/Foundation/TimeInterval
typedef double NSTimeInterval;

#include <objc/NSObject.h>

#pragma clang assume_nonnull begin

// @doc NSDate /documentation/Foundation/NSDate
@interface NSDate : NSObject
// @doc timeIntervalSinceReferenceDate /documentation/Foundation/NSDate/timeIntervalSinceReferenceDate-swift.property
@property(readonly) NSTimeInterval timeIntervalSinceReferenceDate;
// @doc dateWithTimeIntervalSinceReferenceDate /documentation/Foundation/NSDate/init(timeIntervalSinceReferenceDate:)
+ (instancetype)dateWithTimeIntervalSinceReferenceDate:(NSTimeInterval)ti;
@end

#pragma clang assume_nonnull end
