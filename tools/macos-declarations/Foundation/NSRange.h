#pragma once

#include <Foundation/NSObjCRuntime.h>

// @doc NSRange /documentation/Foundation/NSRange macOS 10.0
typedef struct _NSRange {
  NSUInteger location;
  NSUInteger length;
} NSRange;

// @doc NSMakeRange /documentation/Foundation/NSMakeRange(_:_:) macOS 10.0
static inline NSRange NSMakeRange(NSUInteger loc, NSUInteger len) {
  NSRange range;
  range.location = loc;
  range.length = len;
  return range;
}
