#pragma once

#include <AppKit/NSResponder.h>
#include <Foundation/Foundation.h>
#include <QuartzCore/QuartzCore.h>

#pragma clang assume_nonnull begin

@class NSWindow;

// @doc NSAutoresizingMaskOptions /documentation/AppKit/NSView/AutoresizingMask-swift.struct
typedef enum NSAutoresizingMaskOptions : NSUInteger {
  // @doc NSViewWidthSizable /documentation/AppKit/NSView/AutoresizingMask-swift.struct/width
  NSViewWidthSizable = 2,
  // @doc NSViewHeightSizable /documentation/AppKit/NSView/AutoresizingMask-swift.struct/height
  NSViewHeightSizable = 16,
} NSAutoresizingMaskOptions;

// @doc NSView /documentation/AppKit/NSView
@interface NSView : NSResponder
// @doc autoresizingMask /documentation/AppKit/NSView/autoresizingMask-swift.property
@property NSAutoresizingMaskOptions autoresizingMask;
// @doc layer /documentation/AppKit/NSView/layer
@property(nullable, strong) CALayer* layer;
// @doc window /documentation/AppKit/NSView/window
@property(nullable, readonly, weak) NSWindow* window;
@end

#pragma clang assume_nonnull end
