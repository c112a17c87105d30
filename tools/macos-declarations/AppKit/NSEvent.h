#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>

@class NSGraphicsContext;
@class NSTouch;
@class NSView;

#pragma clang assume_nonnull begin

// @doc NSEventType /documentation/AppKit/NSEvent/EventType macOS 10.0
typedef enum NSEventType : NSUInteger {} NSEventType;
// @doc NSEventModifierFlags /documentation/AppKit/NSEvent/ModifierFlags-swift.struct macOS 10.0
typedef NSUInteger NSEventModifierFlags;
enum : NSUInteger {
  // @doc NSEventModifierFlagShift /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/shift macOS 10.0
  NSEventModifierFlagShift = 1 << 17,
  // @doc NSEventModifierFlagControl /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/control macOS 10.0
  NSEventModifierFlagControl = 1 << 18,
  // @doc NSEventModifierFlagOption /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/option macOS 10.0
  NSEventModifierFlagOption = 1 << 19,
  // @doc NSEventModifierFlagCommand /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/command macOS 10.0
  NSEventModifierFlagCommand = 1 << 20,
};
// @doc NSTouchPhase /documentation/AppKit/NSTouch/Phase-swift.struct macOS 10.6
typedef NSUInteger NSTouchPhase;

// @doc NSEvent /documentation/AppKit/NSEvent macOS 10.0
@interface NSEvent : NSObject
// @doc CGEvent /documentation/AppKit/NSEvent/cgEvent macOS 10.5
@property(readonly, nullable) CGEventRef CGEvent;
// @doc type /documentation/AppKit/NSEvent/type macOS 10.0
@property(readonly) NSEventType type;
// @doc modifierFlags /documentation/AppKit/NSEvent/modifierFlags-swift.property macOS 10.0
@property(readonly) NSEventModifierFlags modifierFlags;
// @doc timestamp /documentation/AppKit/NSEvent/timestamp macOS 10.0
@property(readonly) NSTimeInterval timestamp;
// @doc touchesMatchingPhase /documentation/AppKit/NSEvent/touches(matching:in:) macOS 10.6
- (NSSet<NSTouch*>*)touchesMatchingPhase:(NSTouchPhase)phase inView:(nullable NSView*)view;
// @doc doubleClickInterval /documentation/AppKit/NSEvent/doubleClickInterval macOS 10.6
@property(class, readonly) NSTimeInterval doubleClickInterval;
// @doc mouseEventWithType /documentation/AppKit/NSEvent/mouseEvent(with:location:modifierFlags:timestamp:windowNumber:context:eventNumber:clickCount:pressure:) macOS 10.0
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
