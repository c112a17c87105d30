#pragma once

#include <CoreGraphics/CGGeometry.h>

// @doc NSRect /documentation/Foundation/NSRect
typedef CGRect NSRect;
// @doc NSSize /documentation/Foundation/NSSize
typedef CGSize NSSize;
// @doc NSPoint /documentation/Foundation/NSPoint
typedef CGPoint NSPoint;
// @doc NSMakePoint /documentation/Foundation/NSMakePoint(_:_:)
static inline NSPoint NSMakePoint(CGFloat x, CGFloat y) {
  NSPoint p;
  p.x = x;
  p.y = y;
  return p;
}
