#pragma once

#include <AppKit/NSGestureRecognizer.h>

#pragma clang assume_nonnull begin

// @doc NSPanGestureRecognizer /documentation/AppKit/NSPanGestureRecognizer macOS 10.10
@interface NSPanGestureRecognizer : NSGestureRecognizer
// @doc translationInView /documentation/AppKit/NSPanGestureRecognizer/translation(in:) macOS 10.10
- (NSPoint)translationInView:(nullable NSView*)view;
// @doc velocityInView /documentation/AppKit/NSPanGestureRecognizer/velocity(in:) macOS 10.10
- (NSPoint)velocityInView:(nullable NSView*)view;
// @doc minimumNumberOfTouches /documentation/AppKit/NSPanGestureRecognizer/minimumNumberOfTouches macOS 27.0
@property NSInteger minimumNumberOfTouches __attribute__((availability(macos, introduced = 27.0)));
// @doc maximumNumberOfTouches /documentation/AppKit/NSPanGestureRecognizer/maximumNumberOfTouches macOS 27.0
@property NSInteger maximumNumberOfTouches __attribute__((availability(macos, introduced = 27.0)));
@end

#pragma clang assume_nonnull end
