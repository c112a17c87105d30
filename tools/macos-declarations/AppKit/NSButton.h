#pragma once

#include <AppKit/NSControl.h>
#include <AppKit/NSEvent.h>
#include <AppKit/NSMenuItem.h>
#include <AppKit/NSImage.h>

#pragma clang assume_nonnull begin

// @doc NSBezelStyle /documentation/AppKit/NSButton/BezelStyle-swift.enum macOS 10.0
typedef enum NSBezelStyle : NSUInteger {
  // @doc NSBezelStylePush /documentation/AppKit/NSButton/BezelStyle-swift.enum/push macOS 10.0
  NSBezelStylePush = 1,
} NSBezelStyle;

// @doc NSButton /documentation/AppKit/NSButton macOS 10.0
@interface NSButton : NSControl
// @doc image /documentation/AppKit/NSButton/image macOS 10.0
@property(strong, nullable) NSImage* image;
// @doc buttonWithTitle /documentation/AppKit/NSButton/init(title:target:action:) macOS 10.12
+ (instancetype)buttonWithTitle:(NSString*)title target:(nullable id)target action:(nullable SEL)action;
// @doc checkboxWithTitle /documentation/AppKit/NSButton/init(checkboxWithTitle:target:action:) macOS 10.12
+ (instancetype)checkboxWithTitle:(NSString*)title target:(nullable id)target action:(nullable SEL)action;
// @doc bezelStyle /documentation/AppKit/NSButton/bezelStyle-swift.property macOS 10.0
@property NSBezelStyle bezelStyle;
// @doc state /documentation/AppKit/NSButton/state macOS 10.0
@property NSControlStateValue state;
// @doc keyEquivalent /documentation/AppKit/NSButton/keyEquivalent macOS 10.0
@property(copy) NSString* keyEquivalent;
// @doc keyEquivalentModifierMask /documentation/AppKit/NSButton/keyEquivalentModifierMask macOS 10.0
@property NSEventModifierFlags keyEquivalentModifierMask;
@end

#pragma clang assume_nonnull end
