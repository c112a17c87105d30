#pragma once

#include <Foundation/Foundation.h>

// @doc NSModalPanelRunLoopMode /documentation/AppKit/NSModalPanelRunLoopMode
extern "C" NSRunLoopMode _Nonnull NSModalPanelRunLoopMode;
// @doc NSEventTrackingRunLoopMode /documentation/AppKit/NSEventTrackingRunLoopMode
extern "C" NSRunLoopMode _Nonnull NSEventTrackingRunLoopMode;

#pragma clang assume_nonnull begin

// @doc NSApplicationDidChangeScreenParametersNotification /documentation/AppKit/NSApplication/didChangeScreenParametersNotification
extern "C" NSNotificationName const NSApplicationDidChangeScreenParametersNotification;

// @doc NSApplicationActivationPolicy /documentation/AppKit/NSApplication/ActivationPolicy-swift.enum
enum NSApplicationActivationPolicy : NSInteger {
  // @doc NSApplicationActivationPolicyRegular /documentation/AppKit/NSApplication/ActivationPolicy-swift.enum/regular
  NSApplicationActivationPolicyRegular = 0,
};

// @doc NSApplication /documentation/AppKit/NSApplication
@interface NSApplication : NSObject
// @doc sharedApplication /documentation/AppKit/NSApplication/shared
@property(class, readonly, strong) NSApplication* sharedApplication;
// @doc setActivationPolicy /documentation/AppKit/NSApplication/setActivationPolicy(_:)
- (BOOL)setActivationPolicy:(NSApplicationActivationPolicy)activationPolicy;
// @doc run /documentation/AppKit/NSApplication/run()
- (void)run;
@end

#pragma clang assume_nonnull end
