#pragma once

#include <AppKit/NSGestureRecognizer.h>

#pragma clang assume_nonnull begin

// @doc NSPressGestureRecognizer /documentation/AppKit/NSPressGestureRecognizer
@interface NSPressGestureRecognizer : NSGestureRecognizer
// @doc minimumPressDuration /documentation/AppKit/NSPressGestureRecognizer/minimumPressDuration
@property NSTimeInterval minimumPressDuration;
// @doc numberOfTouchesRequired /documentation/AppKit/NSPressGestureRecognizer/numberOfTouchesRequired
@property NSInteger numberOfTouchesRequired;
@end

#pragma clang assume_nonnull end
