#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSColor /documentation/AppKit/NSColor macOS 10.0
@interface NSColor : NSObject
// @doc labelColor /documentation/AppKit/NSColor/labelColor macOS 10.10
@property(class, strong, readonly) NSColor* labelColor;
// @doc secondaryLabelColor /documentation/AppKit/NSColor/secondaryLabelColor macOS 10.10
@property(class, strong, readonly) NSColor* secondaryLabelColor;
// @doc tertiaryLabelColor /documentation/AppKit/NSColor/tertiaryLabelColor macOS 10.10
@property(class, strong, readonly) NSColor* tertiaryLabelColor;
// @doc windowBackgroundColor /documentation/AppKit/NSColor/windowBackgroundColor macOS 10.0
@property(class, strong, readonly) NSColor* windowBackgroundColor;
// @doc setStroke /documentation/AppKit/NSColor/setStroke() macOS 10.0
- (void)setStroke;
// @doc setFill /documentation/AppKit/NSColor/setFill() macOS 10.0
- (void)setFill;
// @doc colorWithSRGBRed /documentation/AppKit/NSColor/init(srgbRed:green:blue:alpha:) macOS 10.7
+ (NSColor*)colorWithSRGBRed:(CGFloat)red green:(CGFloat)green blue:(CGFloat)blue alpha:(CGFloat)alpha;
@end

#pragma clang assume_nonnull end
