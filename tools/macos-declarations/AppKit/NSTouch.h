#pragma once

#include <AppKit/NSEvent.h>
#include <Foundation/Foundation.h>

@class NSView;

#pragma clang assume_nonnull begin

// @doc NSTouchType /documentation/AppKit/NSTouch/TouchType-swift.enum
typedef NSInteger NSTouchType;
// @doc NSTouchTypeMask /documentation/AppKit/NSTouch/TouchTypeMask
typedef NSUInteger NSTouchTypeMask;

// @doc NSTouch /documentation/AppKit/NSTouch
@interface NSTouch : NSObject
// @doc identity /documentation/AppKit/NSTouch/identity
@property(readonly, retain) id<NSObject, NSCopying> identity;
// @doc phase /documentation/AppKit/NSTouch/phase
@property(readonly) NSTouchPhase phase;
// @doc locationInView /documentation/AppKit/NSTouch/location(in:)
- (NSPoint)locationInView:(nullable NSView*)view;
// @doc type /documentation/AppKit/NSTouch/type
@property(readonly) NSTouchType type;
@end

#pragma clang assume_nonnull end
