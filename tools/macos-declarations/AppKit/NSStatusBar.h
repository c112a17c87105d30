#pragma once

#include <AppKit/NSStatusItem.h>
#include <CoreGraphics/CGGeometry.h>

#pragma clang assume_nonnull begin

// @doc NSSquareStatusItemLength /documentation/AppKit/NSStatusItem/squareLength
static const CGFloat NSSquareStatusItemLength = -2;

// @doc NSStatusBar /documentation/AppKit/NSStatusBar
@interface NSStatusBar : NSObject
// @doc systemStatusBar /documentation/AppKit/NSStatusBar/system
@property(class, readonly, strong) NSStatusBar* systemStatusBar;
// @doc statusItemWithLength /documentation/AppKit/NSStatusBar/statusItem(withLength:)
- (NSStatusItem*)statusItemWithLength:(CGFloat)length;
// @doc removeStatusItem /documentation/AppKit/NSStatusBar/removeStatusItem(_:)
- (void)removeStatusItem:(NSStatusItem*)item;
@end

#pragma clang assume_nonnull end
