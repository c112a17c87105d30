#pragma once

#include <objc/NSObject.h>

#pragma clang assume_nonnull begin

// @doc NSOperationQueue /documentation/Foundation/OperationQueue
@interface NSOperationQueue : NSObject
// @doc mainQueue /documentation/Foundation/OperationQueue/main
@property(class, readonly, strong) NSOperationQueue* mainQueue;
@end

#pragma clang assume_nonnull end
