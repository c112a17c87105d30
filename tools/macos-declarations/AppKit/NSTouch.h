#pragma once

#include <AppKit/NSEvent.h>
#include <Foundation/Foundation.h>

@class NSView;

#pragma clang assume_nonnull begin

// @doc NSTouchType /documentation/AppKit/NSTouch/TouchType-swift.enum macOS 10.12.2
typedef enum NSTouchType : NSInteger {} NSTouchType;
// @doc NSTouchTypeMask /documentation/AppKit/NSTouch/TouchTypeMask macOS 10.12.2
typedef NSUInteger NSTouchTypeMask;

// @doc NSTouch /documentation/AppKit/NSTouch macOS 10.6
@interface NSTouch : NSObject
// @doc identity /documentation/AppKit/NSTouch/identity macOS 10.6
@property(readonly, retain) id<NSObject, NSCopying> identity;
// @doc phase /documentation/AppKit/NSTouch/phase macOS 10.6
@property(readonly) NSTouchPhase phase;
// @doc locationInView /documentation/AppKit/NSTouch/location(in:) macOS 10.12.2
- (NSPoint)locationInView:(nullable NSView*)view;
// @doc type /documentation/AppKit/NSTouch/type macOS 10.12.2
@property(readonly) NSTouchType type;
@end

#pragma clang assume_nonnull end
