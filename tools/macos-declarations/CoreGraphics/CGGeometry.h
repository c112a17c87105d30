#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGFloat /documentation/CoreFoundation/CGFloat macOS 10.0
typedef double CGFloat;

// @doc CGPoint /documentation/CoreFoundation/CGPoint macOS 10.0
struct CGPoint {
  CGFloat x;
  CGFloat y;
};
typedef struct CGPoint CGPoint;

// @doc CGSize /documentation/CoreFoundation/CGSize macOS 10.0
struct CGSize {
  CGFloat width;
  CGFloat height;
};
typedef struct CGSize CGSize;

// @doc CGRect /documentation/CoreFoundation/CGRect macOS 10.0
struct CGRect {
  CGPoint origin;
  CGSize size;
};
typedef struct CGRect CGRect;

// @doc CGPointMake /documentation/CoreGraphics/CGPointMake(_:_:) macOS 10.0
static inline CGPoint CGPointMake(CGFloat x, CGFloat y) {
  CGPoint point;
  point.x = x;
  point.y = y;
  return point;
}

// @doc CGRectMake /documentation/CoreGraphics/CGRectMake(_:_:_:_:) macOS 10.0
static inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
  CGRect rect;
  rect.origin.x = x;
  rect.origin.y = y;
  rect.size.width = width;
  rect.size.height = height;
  return rect;
}

#ifdef __cplusplus
}
#endif
