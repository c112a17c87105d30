#pragma once

#include <Foundation/NSArray.h>
#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSDictionary /documentation/Foundation/NSDictionary macOS 10.0
@interface NSDictionary<__covariant KeyType, __covariant ObjectType> : NSObject
// @doc objectForKey /documentation/Foundation/NSDictionary/object(forKey:) macOS 10.0
- (nullable ObjectType)objectForKey:(KeyType)aKey;
// @doc allKeys /documentation/Foundation/NSDictionary/allKeys macOS 10.0
@property(readonly, copy) NSArray<KeyType>* allKeys;
@end

// @doc NSMutableDictionary /documentation/Foundation/NSMutableDictionary macOS 10.0
@interface NSMutableDictionary<KeyType, ObjectType> : NSDictionary<KeyType, ObjectType>
// @doc dictionaryWithCapacity /documentation/Foundation/NSMutableDictionary/init(capacity:) macOS 10.0
+ (instancetype)dictionaryWithCapacity:(NSUInteger)numItems;
// @doc setObject /documentation/Foundation/NSMutableDictionary/setObject(_:forKey:) macOS 10.0
- (void)setObject:(ObjectType)anObject forKey:(KeyType<NSCopying>)aKey;
@end

#pragma clang assume_nonnull end
