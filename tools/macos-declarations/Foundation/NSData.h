#pragma once

#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSData /documentation/Foundation/NSData macOS 10.0
@interface NSData : NSObject
// @doc length /documentation/Foundation/NSData/length macOS 10.0
@property(readonly) NSUInteger length;
// @doc bytes /documentation/Foundation/NSData/bytes macOS 10.0
@property(readonly) const void* bytes __attribute__((objc_returns_inner_pointer));
// @doc dataWithBytes /documentation/Foundation/NSData/init(bytes:length:) macOS 10.0
+ (instancetype)dataWithBytes:(nullable const void*)bytes length:(NSUInteger)length;
@end

#pragma clang assume_nonnull end
