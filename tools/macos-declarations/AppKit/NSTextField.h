#pragma once

#include <AppKit/NSColor.h>
#include <AppKit/NSControl.h>

#pragma clang assume_nonnull begin

// @doc NSTextField /documentation/AppKit/NSTextField macOS 10.0
@interface NSTextField : NSControl
// @doc labelWithString /documentation/AppKit/NSTextField/init(labelWithString:) macOS 10.12
+ (instancetype)labelWithString:(NSString*)stringValue;
// @doc textColor /documentation/AppKit/NSTextField/textColor macOS 10.0
@property(copy, nullable) NSColor* textColor;
// @doc maximumNumberOfLines /documentation/AppKit/NSTextField/maximumNumberOfLines macOS 10.11
@property NSInteger maximumNumberOfLines;
// @doc preferredMaxLayoutWidth /documentation/AppKit/NSTextField/preferredMaxLayoutWidth macOS 10.8
@property CGFloat preferredMaxLayoutWidth;
@end

#pragma clang assume_nonnull end
