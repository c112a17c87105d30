#pragma once

#include <CoreGraphics/CGGeometry.h>

// @doc NSRect /documentation/Foundation/NSRect macOS 10.0
typedef CGRect NSRect;
// @doc NSSize /documentation/Foundation/NSSize macOS 10.0
typedef CGSize NSSize;
// @doc NSPoint /documentation/Foundation/NSPoint macOS 10.0
typedef CGPoint NSPoint;
// @doc NSMakePoint /documentation/Foundation/NSMakePoint(_:_:) macOS 10.0
static inline NSPoint NSMakePoint(CGFloat x, CGFloat y) {
  NSPoint p;
  p.x = x;
  p.y = y;
  return p;
}
