#pragma once

#include <AppKit/NSColor.h>
#include <AppKit/NSControl.h>

#pragma clang assume_nonnull begin

// @doc NSTextField /documentation/AppKit/NSTextField
@interface NSTextField : NSControl
// @doc labelWithString /documentation/AppKit/NSTextField/init(labelWithString:)
+ (instancetype)labelWithString:(NSString*)stringValue;
// @doc textColor /documentation/AppKit/NSTextField/textColor
@property(copy, nullable) NSColor* textColor;
// @doc maximumNumberOfLines /documentation/AppKit/NSTextField/maximumNumberOfLines
@property NSInteger maximumNumberOfLines;
// @doc preferredMaxLayoutWidth /documentation/AppKit/NSTextField/preferredMaxLayoutWidth
@property CGFloat preferredMaxLayoutWidth;
@end

#pragma clang assume_nonnull end
