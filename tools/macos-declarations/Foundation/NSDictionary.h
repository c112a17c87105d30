#pragma once

#include <Foundation/NSArray.h>
#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSDictionary /documentation/Foundation/NSDictionary
@interface NSDictionary<__covariant KeyType, __covariant ObjectType> : NSObject
// @doc objectForKey /documentation/Foundation/NSDictionary/object(forKey:)
- (nullable ObjectType)objectForKey:(KeyType)aKey;
// @doc allKeys /documentation/Foundation/NSDictionary/allKeys
@property(readonly, copy) NSArray<KeyType>* allKeys;
@end

// @doc NSMutableDictionary /documentation/Foundation/NSMutableDictionary
@interface NSMutableDictionary<KeyType, ObjectType> : NSDictionary<KeyType, ObjectType>
// @doc dictionaryWithCapacity /documentation/Foundation/NSMutableDictionary/init(capacity:)
+ (instancetype)dictionaryWithCapacity:(NSUInteger)numItems;
// @doc setObject /documentation/Foundation/NSMutableDictionary/setObject(_:forKey:)
- (void)setObject:(ObjectType)anObject forKey:(KeyType<NSCopying>)aKey;
@end

#pragma clang assume_nonnull end
