#pragma once

#include <Foundation/NSArray.h>
#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSSet /documentation/Foundation/NSSet
@interface NSSet<__covariant ObjectType> : NSObject
// @doc allObjects /documentation/Foundation/NSSet/allObjects
@property(readonly, copy) NSArray<ObjectType>* allObjects;
@end

#pragma clang assume_nonnull end
