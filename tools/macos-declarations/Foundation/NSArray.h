#pragma once

#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSArray /documentation/Foundation/NSArray
@interface NSArray<__covariant ObjectType> : NSObject
// @doc array /documentation/Foundation/NSArray/init()
+ (instancetype)array;
// @doc count /documentation/Foundation/NSArray/count
@property(readonly) NSUInteger count;
// @doc objectAtIndex /documentation/Foundation/NSArray/object(at:)
- (ObjectType)objectAtIndex:(NSUInteger)index;
@end

// @doc NSMutableArray /documentation/Foundation/NSMutableArray
@interface NSMutableArray<ObjectType> : NSArray<ObjectType>
// @doc arrayWithCapacity /documentation/Foundation/NSMutableArray/init(capacity:)
+ (instancetype)arrayWithCapacity:(NSUInteger)numItems;
// @doc addObject /documentation/Foundation/NSMutableArray/add(_:)
- (void)addObject:(ObjectType)anObject;
@end

#pragma clang assume_nonnull end
