#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSLineCapStyle /documentation/AppKit/NSBezierPath/LineCapStyle-swift.enum macOS 10.0
typedef enum NSLineCapStyle : NSUInteger {
  // @doc NSLineCapStyleButt /documentation/AppKit/NSBezierPath/LineCapStyle-swift.enum/butt macOS 10.0
  NSLineCapStyleButt = 0,
  // @doc NSLineCapStyleRound /documentation/AppKit/NSBezierPath/LineCapStyle-swift.enum/round macOS 10.0
  NSLineCapStyleRound = 1,
  // @doc NSLineCapStyleSquare /documentation/AppKit/NSBezierPath/LineCapStyle-swift.enum/square macOS 10.0
  NSLineCapStyleSquare = 2,
} NSLineCapStyle;

// @doc NSBezierPath /documentation/AppKit/NSBezierPath macOS 10.0
@interface NSBezierPath : NSObject
// @doc bezierPath /documentation/AppKit/NSBezierPath/init() macOS 10.0
+ (NSBezierPath*)bezierPath;
// @doc bezierPathWithRoundedRect /documentation/AppKit/NSBezierPath/init(roundedRect:xRadius:yRadius:) macOS 10.5
+ (NSBezierPath*)bezierPathWithRoundedRect:(NSRect)rect xRadius:(CGFloat)xRadius yRadius:(CGFloat)yRadius;
// @doc moveToPoint /documentation/AppKit/NSBezierPath/move(to:) macOS 10.0
- (void)moveToPoint:(NSPoint)point;
// @doc lineToPoint /documentation/AppKit/NSBezierPath/line(to:) macOS 10.0
- (void)lineToPoint:(NSPoint)point;
// @doc lineWidth /documentation/AppKit/NSBezierPath/lineWidth macOS 10.0
@property CGFloat lineWidth;
// @doc lineCapStyle /documentation/AppKit/NSBezierPath/lineCapStyle-swift.property macOS 10.0
@property NSLineCapStyle lineCapStyle;
// @doc stroke /documentation/AppKit/NSBezierPath/stroke() macOS 10.0
- (void)stroke;
// @doc fill /documentation/AppKit/NSBezierPath/fill() macOS 10.0
- (void)fill;
@end

#pragma clang assume_nonnull end
