#pragma once

#include <AppKit/NSFont.h>
#include <AppKit/NSText.h>
#include <AppKit/NSView.h>

#pragma clang assume_nonnull begin

// @doc NSControlSize /documentation/AppKit/NSControl/ControlSize-swift.enum macOS 10.0
typedef enum NSControlSize : NSUInteger {
  // @doc NSControlSizeLarge /documentation/AppKit/NSControl/ControlSize-swift.enum/large macOS 11.0
  NSControlSizeLarge = 3,
} NSControlSize;

// @doc NSControl /documentation/AppKit/NSControl macOS 10.0
@interface NSControl : NSView
// @doc target /documentation/AppKit/NSControl/target macOS 10.0
@property(weak, nullable) id target;
// @doc action /documentation/AppKit/NSControl/action macOS 10.0
@property(nullable) SEL action;
// @doc enabled /documentation/AppKit/NSControl/isEnabled macOS 10.0
@property(getter=isEnabled) BOOL enabled;
// @doc font /documentation/AppKit/NSControl/font macOS 10.0
@property(strong, nullable) NSFont* font;
// @doc controlSize /documentation/AppKit/NSControl/controlSize macOS 10.10
@property NSControlSize controlSize;
// @doc alignment /documentation/AppKit/NSControl/alignment macOS 10.0
@property NSTextAlignment alignment;
// @doc lineBreakMode /documentation/AppKit/NSControl/lineBreakMode macOS 10.10
@property NSLineBreakMode lineBreakMode;
// @doc stringValue /documentation/AppKit/NSControl/stringValue macOS 10.0
@property(copy) NSString* stringValue;
@end

#pragma clang assume_nonnull end
