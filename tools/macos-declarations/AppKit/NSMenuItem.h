#pragma once

#include <AppKit/NSEvent.h>
#include <AppKit/NSMenu.h>
#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSControlStateValue /documentation/AppKit/NSControl/StateValue macOS 10.13
typedef NSInteger NSControlStateValue __attribute__((swift_wrapper(struct)));
// @doc NSControlStateValueOff /documentation/AppKit/NSControl/StateValue/off macOS 10.13
static const NSControlStateValue NSControlStateValueOff = 0;
// @doc NSControlStateValueOn /documentation/AppKit/NSControl/StateValue/on macOS 10.13
static const NSControlStateValue NSControlStateValueOn = 1;

// @doc NSMenuItem /documentation/AppKit/NSMenuItem macOS 10.0
@interface NSMenuItem : NSObject
// @doc separatorItem /documentation/AppKit/NSMenuItem/separator() macOS 10.0
+ (NSMenuItem*)separatorItem;
// @doc initWithTitle /documentation/AppKit/NSMenuItem/init(title:action:keyEquivalent:) macOS 10.0
- (instancetype)initWithTitle:(NSString*)string action:(nullable SEL)selector keyEquivalent:(NSString*)charCode;
// @doc title /documentation/AppKit/NSMenuItem/title macOS 10.0
@property(copy) NSString* title;
// @doc keyEquivalent /documentation/AppKit/NSMenuItem/keyEquivalent macOS 10.0
@property(copy) NSString* keyEquivalent;
// @doc keyEquivalentModifierMask /documentation/AppKit/NSMenuItem/keyEquivalentModifierMask macOS 10.0
@property NSEventModifierFlags keyEquivalentModifierMask;
// @doc target /documentation/AppKit/NSMenuItem/target macOS 10.0
@property(weak, nullable) id target;
// @doc action /documentation/AppKit/NSMenuItem/action macOS 10.0
@property(nullable) SEL action;
// @doc tag /documentation/AppKit/NSMenuItem/tag macOS 10.0
@property NSInteger tag;
// @doc state /documentation/AppKit/NSMenuItem/state macOS 10.0
@property NSControlStateValue state;
// @doc enabled /documentation/AppKit/NSMenuItem/isEnabled macOS 10.0
@property(getter=isEnabled) BOOL enabled;
// @doc toolTip /documentation/AppKit/NSMenuItem/toolTip macOS 10.5
@property(copy, nullable) NSString* toolTip;
// @doc submenu /documentation/AppKit/NSMenuItem/submenu macOS 10.0
@property(strong, nullable) NSMenu* submenu;
@end

#pragma clang assume_nonnull end
