#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSColor /documentation/AppKit/NSColor
@interface NSColor : NSObject
// @doc colorWithSRGBRed /documentation/AppKit/NSColor/init(srgbRed:green:blue:alpha:)
+ (NSColor*)colorWithSRGBRed:(CGFloat)red green:(CGFloat)green blue:(CGFloat)blue alpha:(CGFloat)alpha;
@end

#pragma clang assume_nonnull end
