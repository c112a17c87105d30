#pragma once

#include <AppKit/NSGestureRecognizer.h>

#pragma clang assume_nonnull begin

// A method introduced after the deployment target: no list names it, its version alone guards it.
@interface NSGestureRecognizer (PlantedNewerCall)
// @doc plantedNewerCall /documentation/AppKit/NSGestureRecognizer/plantedNewerCall macOS 26.0
- (void)plantedNewerCall;
@end

#pragma clang assume_nonnull end
