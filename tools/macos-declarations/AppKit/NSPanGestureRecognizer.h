#pragma once

#include <AppKit/NSGestureRecognizer.h>

#pragma clang assume_nonnull begin

// @doc NSPanGestureRecognizer /documentation/AppKit/NSPanGestureRecognizer
@interface NSPanGestureRecognizer : NSGestureRecognizer
// @doc translationInView /documentation/AppKit/NSPanGestureRecognizer/translation(in:)
- (NSPoint)translationInView:(nullable NSView*)view;
// @doc velocityInView /documentation/AppKit/NSPanGestureRecognizer/velocity(in:)
- (NSPoint)velocityInView:(nullable NSView*)view;
// @doc minimumNumberOfTouches /documentation/AppKit/NSPanGestureRecognizer/minimumNumberOfTouches
@property NSInteger minimumNumberOfTouches __attribute__((availability(macos, introduced = 27.0)));
// @doc maximumNumberOfTouches /documentation/AppKit/NSPanGestureRecognizer/maximumNumberOfTouches
@property NSInteger maximumNumberOfTouches __attribute__((availability(macos, introduced = 27.0)));
@end

#pragma clang assume_nonnull end
