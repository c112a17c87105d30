#pragma once

#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSValue /documentation/Foundation/NSValue
@interface NSValue : NSObject
// @doc valueWithBytes /documentation/Foundation/NSValue/init(_:withObjCType:)
+ (NSValue*)valueWithBytes:(const void*)value objCType:(const char*)type;
// @doc objCType /documentation/Foundation/NSValue/objCType
@property(readonly) const char* objCType __attribute__((objc_returns_inner_pointer));
@end

// @doc NSNumber /documentation/Foundation/NSNumber
@interface NSNumber : NSValue
// @doc numberWithInt /documentation/Foundation/NSNumber/init(value:)-8bd4n
+ (NSNumber*)numberWithInt:(int)value;
// @doc numberWithUnsignedInt /documentation/Foundation/NSNumber/init(value:)-5b2a8
+ (NSNumber*)numberWithUnsignedInt:(unsigned int)value;
// @doc numberWithLongLong /documentation/Foundation/NSNumber/init(value:)-2ef5d
+ (NSNumber*)numberWithLongLong:(long long)value;
// @doc numberWithUnsignedLongLong /documentation/Foundation/NSNumber/init(value:)-4l8jl
+ (NSNumber*)numberWithUnsignedLongLong:(unsigned long long)value;
// @doc numberWithDouble /documentation/Foundation/NSNumber/init(value:)-6p5bq
+ (NSNumber*)numberWithDouble:(double)value;
// @doc numberWithBool /documentation/Foundation/NSNumber/init(value:)-7y84d
+ (NSNumber*)numberWithBool:(BOOL)value;
// @doc longLongValue /documentation/Foundation/NSNumber/int64Value
@property(readonly) long long longLongValue;
// @doc unsignedLongLongValue /documentation/Foundation/NSNumber/uint64Value
@property(readonly) unsigned long long unsignedLongLongValue;
// @doc doubleValue /documentation/Foundation/NSNumber/doubleValue
@property(readonly) double doubleValue;
@end

#pragma clang assume_nonnull end
