#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSColor /documentation/AppKit/NSColor
@interface NSColor : NSObject
// @doc labelColor /documentation/AppKit/NSColor/labelColor
@property(class, strong, readonly) NSColor* labelColor;
// @doc secondaryLabelColor /documentation/AppKit/NSColor/secondaryLabelColor
@property(class, strong, readonly) NSColor* secondaryLabelColor;
// @doc tertiaryLabelColor /documentation/AppKit/NSColor/tertiaryLabelColor
@property(class, strong, readonly) NSColor* tertiaryLabelColor;
// @doc windowBackgroundColor /documentation/AppKit/NSColor/windowBackgroundColor
@property(class, strong, readonly) NSColor* windowBackgroundColor;
// @doc setStroke /documentation/AppKit/NSColor/setStroke()
- (void)setStroke;
// @doc setFill /documentation/AppKit/NSColor/setFill()
- (void)setFill;
// @doc colorWithSRGBRed /documentation/AppKit/NSColor/init(srgbRed:green:blue:alpha:)
+ (NSColor*)colorWithSRGBRed:(CGFloat)red green:(CGFloat)green blue:(CGFloat)blue alpha:(CGFloat)alpha;
@end

#pragma clang assume_nonnull end
