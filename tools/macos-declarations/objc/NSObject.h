#pragma once

#include <objc/objc.h>

#pragma clang assume_nonnull begin

// @doc NSObject /documentation/ObjectiveC/NSObjectProtocol
@protocol NSObject
// @doc respondsToSelector /documentation/ObjectiveC/NSObjectProtocol/responds(to:)
- (BOOL)respondsToSelector:(SEL)aSelector;
// @doc isKindOfClass /documentation/ObjectiveC/NSObjectProtocol/isKind(of:)
- (BOOL)isKindOfClass:(Class)aClass;
// @doc isEqual /documentation/ObjectiveC/NSObjectProtocol/isEqual(_:)
- (BOOL)isEqual:(nullable id)object;
@end

// @doc NSCopying /documentation/Foundation/NSCopying
@protocol NSCopying
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
// @doc class /documentation/ObjectiveC/NSObject-swift.class/class()
+ (Class)class;
// @doc instancesRespondToSelector /documentation/ObjectiveC/NSObject-swift.class/instancesRespond(to:)
+ (BOOL)instancesRespondToSelector:(SEL)aSelector;
@end

#pragma clang assume_nonnull end
