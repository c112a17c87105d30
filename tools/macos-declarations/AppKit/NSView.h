#pragma once

#include <AppKit/NSAccessibilityProtocols.h>
#include <AppKit/NSResponder.h>
#include <AppKit/NSTouch.h>
#include <Foundation/Foundation.h>
#include <QuartzCore/QuartzCore.h>

#pragma clang assume_nonnull begin

@class NSGestureRecognizer;
@class NSWindow;

// @doc NSAutoresizingMaskOptions /documentation/AppKit/NSView/AutoresizingMask-swift.struct
typedef enum NSAutoresizingMaskOptions : NSUInteger {
  // @doc NSViewWidthSizable /documentation/AppKit/NSView/AutoresizingMask-swift.struct/width
  NSViewWidthSizable = 2,
  // @doc NSViewHeightSizable /documentation/AppKit/NSView/AutoresizingMask-swift.struct/height
  NSViewHeightSizable = 16,
} NSAutoresizingMaskOptions;

// @doc NSView /documentation/AppKit/NSView
@interface NSView : NSResponder <NSAccessibility>
// @doc initWithFrame /documentation/AppKit/NSView/init(frame:)
- (instancetype)initWithFrame:(NSRect)frameRect;
// @doc frame /documentation/AppKit/NSView/frame
@property NSRect frame;
// @doc addSubview /documentation/AppKit/NSView/addSubview(_:)
- (void)addSubview:(NSView*)view;
// @doc needsDisplay /documentation/AppKit/NSView/needsDisplay
@property BOOL needsDisplay;
// @doc drawRect /documentation/AppKit/NSView/draw(_:)
- (void)drawRect:(NSRect)dirtyRect;
// @doc intrinsicContentSize /documentation/AppKit/NSView/intrinsicContentSize
@property(readonly) NSSize intrinsicContentSize;
// @doc autoresizingMask /documentation/AppKit/NSView/autoresizingMask-swift.property
@property NSAutoresizingMaskOptions autoresizingMask;
// @doc layer /documentation/AppKit/NSView/layer
@property(nullable, strong) CALayer* layer;
// @doc window /documentation/AppKit/NSView/window
@property(nullable, readonly, weak) NSWindow* window;
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
// @doc toolTip /documentation/AppKit/NSView/toolTip
@property(copy, nullable) NSString* toolTip;
@end

#pragma clang assume_nonnull end
