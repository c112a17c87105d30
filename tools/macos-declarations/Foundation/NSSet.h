#pragma once

#include <Foundation/NSArray.h>
#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSSet /documentation/Foundation/NSSet macOS 10.0
@interface NSSet<__covariant ObjectType> : NSObject
// @doc allObjects /documentation/Foundation/NSSet/allObjects macOS 10.0
@property(readonly, copy) NSArray<ObjectType>* allObjects;
@end

#pragma clang assume_nonnull end
