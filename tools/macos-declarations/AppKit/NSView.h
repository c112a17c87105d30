#pragma once

#include <AppKit/NSTouch.h>
#include <Foundation/Foundation.h>

@class NSGestureRecognizer;
@class NSWindow;

#pragma clang assume_nonnull begin

// @doc NSView /documentation/AppKit/NSView
@interface NSView : NSObject
// @doc window /documentation/AppKit/NSView/window
@property(readonly, nullable, assign) NSWindow* window;
// @doc isFlipped /documentation/AppKit/NSView/isFlipped
@property(readonly, getter=isFlipped) BOOL flipped;
// @doc bounds /documentation/AppKit/NSView/bounds
@property NSRect bounds;
// @doc convertPoint /documentation/AppKit/NSView/convert(_:from:)-1dq9l
- (NSPoint)convertPoint:(NSPoint)point fromView:(nullable NSView*)view;
// @doc addGestureRecognizer /documentation/AppKit/NSView/addGestureRecognizer(_:)
- (void)addGestureRecognizer:(NSGestureRecognizer*)gestureRecognizer;
// @doc removeGestureRecognizer /documentation/AppKit/NSView/removeGestureRecognizer(_:)
- (void)removeGestureRecognizer:(NSGestureRecognizer*)gestureRecognizer;
// @doc allowedTouchTypes /documentation/AppKit/NSView/allowedTouchTypes
@property NSTouchTypeMask allowedTouchTypes;
@end

#pragma clang assume_nonnull end
