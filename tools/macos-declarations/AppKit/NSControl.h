#pragma once

#include <AppKit/NSFont.h>
#include <AppKit/NSText.h>
#include <AppKit/NSView.h>

#pragma clang assume_nonnull begin

// @doc NSControlSize /documentation/AppKit/NSControl/ControlSize-swift.enum
typedef enum NSControlSize : NSUInteger {
  // @doc NSControlSizeLarge /documentation/AppKit/NSControl/ControlSize-swift.enum/large
  NSControlSizeLarge = 3,
} NSControlSize;

// @doc NSControl /documentation/AppKit/NSControl
@interface NSControl : NSView
// @doc target /documentation/AppKit/NSControl/target
@property(weak, nullable) id target;
// @doc action /documentation/AppKit/NSControl/action
@property(nullable) SEL action;
// @doc enabled /documentation/AppKit/NSControl/isEnabled
@property(getter=isEnabled) BOOL enabled;
// @doc font /documentation/AppKit/NSControl/font
@property(strong, nullable) NSFont* font;
// @doc controlSize /documentation/AppKit/NSControl/controlSize
@property NSControlSize controlSize;
// @doc alignment /documentation/AppKit/NSControl/alignment
@property NSTextAlignment alignment;
// @doc lineBreakMode /documentation/AppKit/NSControl/lineBreakMode
@property NSLineBreakMode lineBreakMode;
// @doc stringValue /documentation/AppKit/NSControl/stringValue
@property(copy) NSString* stringValue;
@end

#pragma clang assume_nonnull end
