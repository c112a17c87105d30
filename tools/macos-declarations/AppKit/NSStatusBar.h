#pragma once

#include <AppKit/NSStatusItem.h>
#include <CoreGraphics/CGGeometry.h>

#pragma clang assume_nonnull begin

// @doc NSSquareStatusItemLength /documentation/AppKit/NSStatusItem/squareLength macOS 10.0
static const CGFloat NSSquareStatusItemLength = -2;

// @doc NSStatusBar /documentation/AppKit/NSStatusBar macOS 10.0
@interface NSStatusBar : NSObject
// @doc systemStatusBar /documentation/AppKit/NSStatusBar/system macOS 10.0
@property(class, readonly, strong) NSStatusBar* systemStatusBar;
// @doc statusItemWithLength /documentation/AppKit/NSStatusBar/statusItem(withLength:) macOS 10.0
- (NSStatusItem*)statusItemWithLength:(CGFloat)length;
// @doc removeStatusItem /documentation/AppKit/NSStatusBar/removeStatusItem(_:) macOS 10.0
- (void)removeStatusItem:(NSStatusItem*)item;
@end

#pragma clang assume_nonnull end
