#pragma once

#include <Foundation/Foundation.h>

// The SDK gives centre the value 2 on Intel Macs and 1 on Apple silicon; code uses the name only.
// @doc NSTextAlignment /documentation/AppKit/NSTextAlignment
typedef enum NSTextAlignment : NSInteger {
  // @doc NSTextAlignmentCenter /documentation/AppKit/NSTextAlignment/center
  NSTextAlignmentCenter = 1,
} NSTextAlignment;

// @doc NSLineBreakMode /documentation/AppKit/NSLineBreakMode
typedef enum NSLineBreakMode : NSUInteger {
  // @doc NSLineBreakByWordWrapping /documentation/AppKit/NSLineBreakMode/byWordWrapping
  NSLineBreakByWordWrapping = 0,
  // @doc NSLineBreakByTruncatingTail /documentation/AppKit/NSLineBreakMode/byTruncatingTail
  NSLineBreakByTruncatingTail = 4,
} NSLineBreakMode;
