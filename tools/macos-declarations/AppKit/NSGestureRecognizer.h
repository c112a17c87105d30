#pragma once

#include <AppKit/NSEvent.h>
#include <AppKit/NSTouch.h>
#include <Foundation/Foundation.h>

@class NSView;
@protocol NSGestureRecognizerDelegate;

#pragma clang assume_nonnull begin

// @doc NSGestureRecognizerState /documentation/AppKit/NSGestureRecognizer/State-swift.enum
typedef NSInteger NSGestureRecognizerState;

// @doc NSGestureRecognizer /documentation/AppKit/NSGestureRecognizer
@interface NSGestureRecognizer : NSObject
// @doc initWithTarget /documentation/AppKit/NSGestureRecognizer/init(target:action:)
- (instancetype)initWithTarget:(nullable id)target action:(nullable SEL)action;
// @doc state /documentation/AppKit/NSGestureRecognizer/state-swift.property
@property(readwrite) NSGestureRecognizerState state;
// @doc delegate /documentation/AppKit/NSGestureRecognizer/delegate
@property(weak, nullable) id<NSGestureRecognizerDelegate> delegate;
// @doc enabled /documentation/AppKit/NSGestureRecognizer/isEnabled
@property(getter=isEnabled) BOOL enabled;
// @doc view /documentation/AppKit/NSGestureRecognizer/view
@property(readonly, nullable) NSView* view;
// @doc locationInView /documentation/AppKit/NSGestureRecognizer/location(in:)
- (NSPoint)locationInView:(nullable NSView*)view;
// @doc allowedTouchTypes /documentation/AppKit/NSGestureRecognizer/allowedTouchTypes
@property NSTouchTypeMask allowedTouchTypes;
// @doc modifierFlags /documentation/AppKit/NSGestureRecognizer/modifierFlags
@property(readonly) NSEventModifierFlags modifierFlags;
// @doc reset /documentation/AppKit/NSGestureRecognizer/reset()
- (void)reset __attribute__((objc_requires_super));
// @doc touchesBeganWithEvent /documentation/AppKit/NSGestureRecognizer/touchesBegan(with:)
- (void)touchesBeganWithEvent:(NSEvent*)event;
// @doc touchesMovedWithEvent /documentation/AppKit/NSGestureRecognizer/touchesMoved(with:)
- (void)touchesMovedWithEvent:(NSEvent*)event;
// @doc touchesEndedWithEvent /documentation/AppKit/NSGestureRecognizer/touchesEnded(with:)
- (void)touchesEndedWithEvent:(NSEvent*)event;
// @doc touchesCancelledWithEvent /documentation/AppKit/NSGestureRecognizer/touchesCancelled(with:)
- (void)touchesCancelledWithEvent:(NSEvent*)event;
@end

// @doc NSGestureRecognizerDelegate /documentation/AppKit/NSGestureRecognizerDelegate
@protocol NSGestureRecognizerDelegate <NSObject>
@optional
// @doc shouldAttemptToRecognizeWithEvent /documentation/AppKit/NSGestureRecognizerDelegate/gestureRecognizer(_:shouldAttemptToRecognizeWith:)
- (BOOL)gestureRecognizer:(NSGestureRecognizer*)gestureRecognizer shouldAttemptToRecognizeWithEvent:(NSEvent*)event;
// @doc gestureRecognizerShouldBegin /documentation/AppKit/NSGestureRecognizerDelegate/gestureRecognizerShouldBegin(_:)
- (BOOL)gestureRecognizerShouldBegin:(NSGestureRecognizer*)gestureRecognizer;
// @doc shouldReceiveTouch /documentation/AppKit/NSGestureRecognizerDelegate/gestureRecognizer(_:shouldReceive:)
- (BOOL)gestureRecognizer:(NSGestureRecognizer*)gestureRecognizer shouldReceiveTouch:(NSTouch*)touch;
@end

#pragma clang assume_nonnull end
