#pragma once

#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSData /documentation/Foundation/NSData
@interface NSData : NSObject
// @doc length /documentation/Foundation/NSData/length
@property(readonly) NSUInteger length;
// @doc bytes /documentation/Foundation/NSData/bytes
@property(readonly) const void* bytes __attribute__((objc_returns_inner_pointer));
// @doc dataWithBytes /documentation/Foundation/NSData/init(bytes:length:)
+ (instancetype)dataWithBytes:(nullable const void*)bytes length:(NSUInteger)length;
@end

#pragma clang assume_nonnull end
