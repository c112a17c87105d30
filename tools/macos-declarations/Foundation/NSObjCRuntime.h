#pragma once

#include <objc/NSObject.h>

// @doc NSInteger /documentation/ObjectiveC/NSInteger macOS 10.0
typedef long NSInteger;
// @doc NSUInteger /documentation/ObjectiveC/NSUInteger macOS 10.0
typedef unsigned long NSUInteger;

@class NSString;

#pragma clang assume_nonnull begin

// @doc NSClassFromString /documentation/Foundation/NSClassFromString(_:) macOS 10.0
extern "C" Class _Nullable NSClassFromString(NSString* aClassName);
// @doc NSSelectorFromString /documentation/Foundation/NSSelectorFromString(_:) macOS 10.0
extern "C" SEL NSSelectorFromString(NSString* aSelectorName);

#pragma clang assume_nonnull end
