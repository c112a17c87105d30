#pragma once

#include <AppKit/NSEvent.h>
#include <AppKit/NSMenu.h>
#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSControlStateValue /documentation/AppKit/NSControl/StateValue
typedef NSInteger NSControlStateValue __attribute__((swift_wrapper(struct)));
// @doc NSControlStateValueOff /documentation/AppKit/NSControl/StateValue/off
static const NSControlStateValue NSControlStateValueOff = 0;
// @doc NSControlStateValueOn /documentation/AppKit/NSControl/StateValue/on
static const NSControlStateValue NSControlStateValueOn = 1;

// @doc NSMenuItem /documentation/AppKit/NSMenuItem
@interface NSMenuItem : NSObject
// @doc separatorItem /documentation/AppKit/NSMenuItem/separator()
+ (NSMenuItem*)separatorItem;
// @doc initWithTitle /documentation/AppKit/NSMenuItem/init(title:action:keyEquivalent:)
- (instancetype)initWithTitle:(NSString*)string action:(nullable SEL)selector keyEquivalent:(NSString*)charCode;
// @doc title /documentation/AppKit/NSMenuItem/title
@property(copy) NSString* title;
// @doc keyEquivalent /documentation/AppKit/NSMenuItem/keyEquivalent
@property(copy) NSString* keyEquivalent;
// @doc keyEquivalentModifierMask /documentation/AppKit/NSMenuItem/keyEquivalentModifierMask
@property NSEventModifierFlags keyEquivalentModifierMask;
// @doc target /documentation/AppKit/NSMenuItem/target
@property(weak, nullable) id target;
// @doc action /documentation/AppKit/NSMenuItem/action
@property(nullable) SEL action;
// @doc tag /documentation/AppKit/NSMenuItem/tag
@property NSInteger tag;
// @doc state /documentation/AppKit/NSMenuItem/state
@property NSControlStateValue state;
// @doc enabled /documentation/AppKit/NSMenuItem/isEnabled
@property(getter=isEnabled) BOOL enabled;
// @doc toolTip /documentation/AppKit/NSMenuItem/toolTip
@property(copy, nullable) NSString* toolTip;
// @doc submenu /documentation/AppKit/NSMenuItem/submenu
@property(strong, nullable) NSMenu* submenu;
@end

#pragma clang assume_nonnull end
