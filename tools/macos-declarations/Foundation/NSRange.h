#pragma once

#include <Foundation/NSObjCRuntime.h>

// @doc NSRange /documentation/Foundation/NSRange
typedef struct _NSRange {
  NSUInteger location;
  NSUInteger length;
} NSRange;

// @doc NSMakeRange /documentation/Foundation/NSMakeRange(_:_:)
static inline NSRange NSMakeRange(NSUInteger loc, NSUInteger len) {
  NSRange range;
  range.location = loc;
  range.length = len;
  return range;
}
