#pragma once

#include <AppKit/NSControl.h>
#include <AppKit/NSEvent.h>
#include <AppKit/NSMenuItem.h>
#include <AppKit/NSImage.h>

#pragma clang assume_nonnull begin

// @doc NSBezelStyle /documentation/AppKit/NSButton/BezelStyle-swift.enum
typedef enum NSBezelStyle : NSUInteger {
  // @doc NSBezelStylePush /documentation/AppKit/NSButton/BezelStyle-swift.enum/push
  NSBezelStylePush = 1,
} NSBezelStyle;

// @doc NSButton /documentation/AppKit/NSButton
@interface NSButton : NSControl
// @doc image /documentation/AppKit/NSButton/image
@property(strong, nullable) NSImage* image;
// @doc buttonWithTitle /documentation/AppKit/NSButton/init(title:target:action:)
+ (instancetype)buttonWithTitle:(NSString*)title target:(nullable id)target action:(nullable SEL)action;
// @doc checkboxWithTitle /documentation/AppKit/NSButton/init(checkboxWithTitle:target:action:)
+ (instancetype)checkboxWithTitle:(NSString*)title target:(nullable id)target action:(nullable SEL)action;
// @doc bezelStyle /documentation/AppKit/NSButton/bezelStyle-swift.property
@property NSBezelStyle bezelStyle;
// @doc state /documentation/AppKit/NSButton/state
@property NSControlStateValue state;
// @doc keyEquivalent /documentation/AppKit/NSButton/keyEquivalent
@property(copy) NSString* keyEquivalent;
// @doc keyEquivalentModifierMask /documentation/AppKit/NSButton/keyEquivalentModifierMask
@property NSEventModifierFlags keyEquivalentModifierMask;
@end

#pragma clang assume_nonnull end
