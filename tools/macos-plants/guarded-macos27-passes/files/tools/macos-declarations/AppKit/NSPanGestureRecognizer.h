#pragma once

// Declared for the planted fault only; the touch service will declare its recognizers for real.

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSGestureRecognizer /documentation/AppKit/NSGestureRecognizer
@interface NSGestureRecognizer : NSObject
@end

// @doc NSPanGestureRecognizer /documentation/AppKit/NSPanGestureRecognizer
@interface NSPanGestureRecognizer : NSGestureRecognizer
// @doc minimumNumberOfTouches /documentation/AppKit/NSPanGestureRecognizer/minimumNumberOfTouches
@property NSInteger minimumNumberOfTouches __attribute__((availability(macos, introduced = 27.0)));
// @doc maximumNumberOfTouches /documentation/AppKit/NSPanGestureRecognizer/maximumNumberOfTouches
@property NSInteger maximumNumberOfTouches __attribute__((availability(macos, introduced = 27.0)));
@end

#pragma clang assume_nonnull end
