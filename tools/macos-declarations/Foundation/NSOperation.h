#pragma once

#include <objc/NSObject.h>

#pragma clang assume_nonnull begin

// @doc NSOperationQueue /documentation/Foundation/OperationQueue macOS 10.0
@interface NSOperationQueue : NSObject
// @doc mainQueue /documentation/Foundation/OperationQueue/main macOS 10.6
@property(class, readonly, strong) NSOperationQueue* mainQueue;
@end

#pragma clang assume_nonnull end
