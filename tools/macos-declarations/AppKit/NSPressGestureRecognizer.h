#pragma once

#include <AppKit/NSGestureRecognizer.h>

#pragma clang assume_nonnull begin

// @doc NSPressGestureRecognizer /documentation/AppKit/NSPressGestureRecognizer macOS 10.10
@interface NSPressGestureRecognizer : NSGestureRecognizer
// @doc minimumPressDuration /documentation/AppKit/NSPressGestureRecognizer/minimumPressDuration macOS 10.10
@property NSTimeInterval minimumPressDuration;
// @doc numberOfTouchesRequired /documentation/AppKit/NSPressGestureRecognizer/numberOfTouchesRequired macOS 10.12.2
@property NSInteger numberOfTouchesRequired;
@end

#pragma clang assume_nonnull end
