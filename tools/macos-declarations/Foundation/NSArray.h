#pragma once

#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSArray /documentation/Foundation/NSArray macOS 10.0
@interface NSArray<__covariant ObjectType> : NSObject
// @doc array /documentation/Foundation/NSArray/init() macOS 10.0
+ (instancetype)array;
// @doc count /documentation/Foundation/NSArray/count macOS 10.0
@property(readonly) NSUInteger count;
// @doc objectAtIndex /documentation/Foundation/NSArray/object(at:) macOS 10.0
- (ObjectType)objectAtIndex:(NSUInteger)index;
@end

// @doc NSMutableArray /documentation/Foundation/NSMutableArray macOS 10.0
@interface NSMutableArray<ObjectType> : NSArray<ObjectType>
// @doc arrayWithCapacity /documentation/Foundation/NSMutableArray/init(capacity:) macOS 10.0
+ (instancetype)arrayWithCapacity:(NSUInteger)numItems;
// @doc addObject /documentation/Foundation/NSMutableArray/add(_:) macOS 10.0
- (void)addObject:(ObjectType)anObject;
@end

#pragma clang assume_nonnull end
