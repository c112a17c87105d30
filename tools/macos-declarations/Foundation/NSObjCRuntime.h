#pragma once

#include <objc/NSObject.h>

// @doc NSInteger /documentation/ObjectiveC/NSInteger
typedef long NSInteger;
// @doc NSUInteger /documentation/ObjectiveC/NSUInteger
typedef unsigned long NSUInteger;
