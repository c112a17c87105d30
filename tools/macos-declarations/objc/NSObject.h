#pragma once

#include <objc/objc.h>

#pragma clang assume_nonnull begin

// @doc NSObject /documentation/ObjectiveC/NSObjectProtocol macOS 10.0
@protocol NSObject
// @doc respondsToSelector /documentation/ObjectiveC/NSObjectProtocol/responds(to:) macOS 10.0
- (BOOL)respondsToSelector:(SEL)aSelector;
// @doc isKindOfClass /documentation/ObjectiveC/NSObjectProtocol/isKind(of:) macOS 10.0
- (BOOL)isKindOfClass:(Class)aClass;
// @doc isEqual /documentation/ObjectiveC/NSObjectProtocol/isEqual(_:) macOS 10.0
- (BOOL)isEqual:(nullable id)object;
@end

// @doc NSCopying /documentation/Foundation/NSCopying macOS 10.0
@protocol NSCopying
@end

// @doc NSObject /documentation/ObjectiveC/NSObject-swift.class macOS 10.0
__attribute__((objc_root_class))
@interface NSObject <NSObject> {
  Class isa;
}
// @doc alloc /documentation/ObjectiveC/NSObject-swift.class/alloc macOS 10.0
+ (instancetype)alloc;
// @doc init /documentation/ObjectiveC/NSObject-swift.class/init() macOS 10.0
- (instancetype)init;
// @doc class /documentation/ObjectiveC/NSObject-swift.class/class() macOS 10.0
+ (Class)class;
// @doc instancesRespondToSelector /documentation/ObjectiveC/NSObject-swift.class/instancesRespond(to:) macOS 10.0
+ (BOOL)instancesRespondToSelector:(SEL)aSelector;
@end

#pragma clang assume_nonnull end
