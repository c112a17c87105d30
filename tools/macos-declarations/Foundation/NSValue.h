#pragma once

#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSValue /documentation/Foundation/NSValue macOS 10.0
@interface NSValue : NSObject
// @doc valueWithBytes /documentation/Foundation/NSValue/init(_:withObjCType:) macOS 10.0
+ (NSValue*)valueWithBytes:(const void*)value objCType:(const char*)type;
// @doc objCType /documentation/Foundation/NSValue/objCType macOS 10.0
@property(readonly) const char* objCType __attribute__((objc_returns_inner_pointer));
@end

// @doc NSNumber /documentation/Foundation/NSNumber macOS 10.0
@interface NSNumber : NSValue
// @doc numberWithInt /documentation/Foundation/NSNumber/init(value:)-8bd4n macOS 10.0
+ (NSNumber*)numberWithInt:(int)value;
// @doc numberWithUnsignedInt /documentation/Foundation/NSNumber/init(value:)-5b2a8 macOS 10.0
+ (NSNumber*)numberWithUnsignedInt:(unsigned int)value;
// @doc numberWithLongLong /documentation/Foundation/NSNumber/init(value:)-2ef5d macOS 10.0
+ (NSNumber*)numberWithLongLong:(long long)value;
// @doc numberWithUnsignedLongLong /documentation/Foundation/NSNumber/init(value:)-4l8jl macOS 10.0
+ (NSNumber*)numberWithUnsignedLongLong:(unsigned long long)value;
// @doc numberWithDouble /documentation/Foundation/NSNumber/init(value:)-6p5bq macOS 10.0
+ (NSNumber*)numberWithDouble:(double)value;
// @doc numberWithBool /documentation/Foundation/NSNumber/init(value:)-7y84d macOS 10.0
+ (NSNumber*)numberWithBool:(BOOL)value;
// @doc longLongValue /documentation/Foundation/NSNumber/int64Value macOS 10.0
@property(readonly) long long longLongValue;
// @doc unsignedLongLongValue /documentation/Foundation/NSNumber/uint64Value macOS 10.0
@property(readonly) unsigned long long unsignedLongLongValue;
// @doc doubleValue /documentation/Foundation/NSNumber/doubleValue macOS 10.0
@property(readonly) double doubleValue;
@end

#pragma clang assume_nonnull end
