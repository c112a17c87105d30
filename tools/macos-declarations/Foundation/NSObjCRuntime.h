#pragma once

#include <objc/NSObject.h>

// @doc NSInteger /documentation/ObjectiveC/NSInteger
typedef long NSInteger;
// @doc NSUInteger /documentation/ObjectiveC/NSUInteger
typedef unsigned long NSUInteger;

@class NSString;

#pragma clang assume_nonnull begin

// @doc NSClassFromString /documentation/Foundation/NSClassFromString(_:)
extern "C" Class _Nullable NSClassFromString(NSString* aClassName);

#pragma clang assume_nonnull end
