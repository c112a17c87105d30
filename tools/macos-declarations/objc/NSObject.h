#pragma once

#include <objc/objc.h>

#pragma clang assume_nonnull begin

// @doc NSObject /documentation/ObjectiveC/NSObjectProtocol
@protocol NSObject
@end

// @doc NSObject /documentation/ObjectiveC/NSObject-swift.class
__attribute__((objc_root_class))
@interface NSObject <NSObject> {
  Class isa;
}
// @doc alloc /documentation/ObjectiveC/NSObject-swift.class/alloc
+ (instancetype)alloc;
// @doc init /documentation/ObjectiveC/NSObject-swift.class/init()
- (instancetype)init;
@end

#pragma clang assume_nonnull end
