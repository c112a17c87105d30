#pragma once

#include <AppKit/NSAccessibilityProtocols.h>
#include <AppKit/NSResponder.h>
#include <AppKit/NSTouch.h>
#include <Foundation/Foundation.h>
#include <QuartzCore/QuartzCore.h>

#pragma clang assume_nonnull begin

@class NSGestureRecognizer;
@class NSWindow;

// @doc NSAutoresizingMaskOptions /documentation/AppKit/NSView/AutoresizingMask-swift.struct macOS 10.0
typedef NSUInteger NSAutoresizingMaskOptions;
enum : NSUInteger {
  // @doc NSViewWidthSizable /documentation/AppKit/NSView/AutoresizingMask-swift.struct/width macOS 10.0
  NSViewWidthSizable = 2,
  // @doc NSViewHeightSizable /documentation/AppKit/NSView/AutoresizingMask-swift.struct/height macOS 10.0
  NSViewHeightSizable = 16,
};

// @doc NSView /documentation/AppKit/NSView macOS 10.0
@interface NSView : NSResponder <NSAccessibility>
// @doc initWithFrame /documentation/AppKit/NSView/init(frame:) macOS 10.0
- (instancetype)initWithFrame:(NSRect)frameRect;
// @doc frame /documentation/AppKit/NSView/frame macOS 10.0
@property NSRect frame;
// @doc addSubview /documentation/AppKit/NSView/addSubview(_:) macOS 10.0
- (void)addSubview:(NSView*)view;
// @doc needsDisplay /documentation/AppKit/NSView/needsDisplay macOS 10.0
@property BOOL needsDisplay;
// @doc drawRect /documentation/AppKit/NSView/draw(_:) macOS 10.0
- (void)drawRect:(NSRect)dirtyRect;
// @doc intrinsicContentSize /documentation/AppKit/NSView/intrinsicContentSize macOS 10.7
@property(readonly) NSSize intrinsicContentSize;
// @doc autoresizingMask /documentation/AppKit/NSView/autoresizingMask-swift.property macOS 10.0
@property NSAutoresizingMaskOptions autoresizingMask;
// @doc layer /documentation/AppKit/NSView/layer macOS 10.5
@property(nullable, strong) CALayer* layer;
// @doc window /documentation/AppKit/NSView/window macOS 10.0
@property(nullable, readonly, weak) NSWindow* window;
// @doc isFlipped /documentation/AppKit/NSView/isFlipped macOS 10.0
@property(readonly, getter=isFlipped) BOOL flipped;
// @doc bounds /documentation/AppKit/NSView/bounds macOS 10.0
@property NSRect bounds;
// @doc convertPoint /documentation/AppKit/NSView/convert(_:from:)-1dq9l macOS 10.0
- (NSPoint)convertPoint:(NSPoint)point fromView:(nullable NSView*)view;
// @doc addGestureRecognizer /documentation/AppKit/NSView/addGestureRecognizer(_:) macOS 10.10
- (void)addGestureRecognizer:(NSGestureRecognizer*)gestureRecognizer;
// @doc removeGestureRecognizer /documentation/AppKit/NSView/removeGestureRecognizer(_:) macOS 10.10
- (void)removeGestureRecognizer:(NSGestureRecognizer*)gestureRecognizer;
// @doc allowedTouchTypes /documentation/AppKit/NSView/allowedTouchTypes macOS 10.12.2
@property NSTouchTypeMask allowedTouchTypes;
// @doc toolTip /documentation/AppKit/NSView/toolTip macOS 10.0
@property(copy, nullable) NSString* toolTip;
@end

#pragma clang assume_nonnull end
