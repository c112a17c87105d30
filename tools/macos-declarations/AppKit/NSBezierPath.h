#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSLineCapStyle /documentation/AppKit/NSBezierPath/LineCapStyle-swift.enum
typedef enum NSLineCapStyle : NSUInteger {
  // @doc NSLineCapStyleButt /documentation/AppKit/NSBezierPath/LineCapStyle-swift.enum/butt
  NSLineCapStyleButt = 0,
  // @doc NSLineCapStyleRound /documentation/AppKit/NSBezierPath/LineCapStyle-swift.enum/round
  NSLineCapStyleRound = 1,
  // @doc NSLineCapStyleSquare /documentation/AppKit/NSBezierPath/LineCapStyle-swift.enum/square
  NSLineCapStyleSquare = 2,
} NSLineCapStyle;

// @doc NSBezierPath /documentation/AppKit/NSBezierPath
@interface NSBezierPath : NSObject
// @doc bezierPath /documentation/AppKit/NSBezierPath/init()
+ (NSBezierPath*)bezierPath;
// @doc bezierPathWithRoundedRect /documentation/AppKit/NSBezierPath/init(roundedRect:xRadius:yRadius:)
+ (NSBezierPath*)bezierPathWithRoundedRect:(NSRect)rect xRadius:(CGFloat)xRadius yRadius:(CGFloat)yRadius;
// @doc moveToPoint /documentation/AppKit/NSBezierPath/move(to:)
- (void)moveToPoint:(NSPoint)point;
// @doc lineToPoint /documentation/AppKit/NSBezierPath/line(to:)
- (void)lineToPoint:(NSPoint)point;
// @doc lineWidth /documentation/AppKit/NSBezierPath/lineWidth
@property CGFloat lineWidth;
// @doc lineCapStyle /documentation/AppKit/NSBezierPath/lineCapStyle-swift.property
@property NSLineCapStyle lineCapStyle;
// @doc stroke /documentation/AppKit/NSBezierPath/stroke()
- (void)stroke;
// @doc fill /documentation/AppKit/NSBezierPath/fill()
- (void)fill;
@end

#pragma clang assume_nonnull end
