#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>

@class NSGraphicsContext;
@class NSTouch;
@class NSView;

#pragma clang assume_nonnull begin

// @doc NSEventType /documentation/AppKit/NSEvent/EventType
typedef NSUInteger NSEventType;
enum : NSEventType {
  // @doc NSEventTypeDirectTouch /documentation/AppKit/NSEvent/EventType/directTouch
  NSEventTypeDirectTouch = 37,
};
// @doc NSEventModifierFlags /documentation/AppKit/NSEvent/ModifierFlags-swift.struct
enum NSEventModifierFlags : NSUInteger {
  // @doc NSEventModifierFlagShift /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/shift
  NSEventModifierFlagShift = 1 << 17,
  // @doc NSEventModifierFlagControl /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/control
  NSEventModifierFlagControl = 1 << 18,
  // @doc NSEventModifierFlagOption /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/option
  NSEventModifierFlagOption = 1 << 19,
  // @doc NSEventModifierFlagCommand /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/command
  NSEventModifierFlagCommand = 1 << 20,
};
// @doc NSTouchPhase /documentation/AppKit/NSTouch/Phase-swift.struct
typedef NSUInteger NSTouchPhase;

// @doc NSEvent /documentation/AppKit/NSEvent
@interface NSEvent : NSObject
// @doc CGEvent /documentation/AppKit/NSEvent/cgEvent
@property(readonly, nullable) CGEventRef CGEvent;
// @doc type /documentation/AppKit/NSEvent/type
@property(readonly) NSEventType type;
// @doc modifierFlags /documentation/AppKit/NSEvent/modifierFlags-swift.property
@property(readonly) NSEventModifierFlags modifierFlags;
// @doc timestamp /documentation/AppKit/NSEvent/timestamp
@property(readonly) NSTimeInterval timestamp;
// @doc touchesMatchingPhase /documentation/AppKit/NSEvent/touches(matching:in:)
- (NSSet<NSTouch*>*)touchesMatchingPhase:(NSTouchPhase)phase inView:(nullable NSView*)view;
// @doc doubleClickInterval /documentation/AppKit/NSEvent/doubleClickInterval
@property(class, readonly) NSTimeInterval doubleClickInterval;
// @doc mouseEventWithType /documentation/AppKit/NSEvent/mouseEvent(with:location:modifierFlags:timestamp:windowNumber:context:eventNumber:clickCount:pressure:)
+ (nullable NSEvent*)mouseEventWithType:(NSEventType)type
                               location:(NSPoint)location
                          modifierFlags:(NSEventModifierFlags)flags
                              timestamp:(NSTimeInterval)time
                           windowNumber:(NSInteger)wNum
                                context:(nullable NSGraphicsContext*)unusedPassNil
                            eventNumber:(NSInteger)eNum
                             clickCount:(NSInteger)cNum
                               pressure:(float)pressure;
@end

#pragma clang assume_nonnull end
