#pragma once

#include <AppKit/NSEvent.h>
#include <AppKit/NSTouch.h>
#include <Foundation/Foundation.h>

@class NSView;
@protocol NSGestureRecognizerDelegate;

#pragma clang assume_nonnull begin

// @doc NSGestureRecognizerState /documentation/AppKit/NSGestureRecognizer/State-swift.enum macOS 10.10
typedef enum NSGestureRecognizerState : NSInteger {} NSGestureRecognizerState;

// @doc NSGestureRecognizer /documentation/AppKit/NSGestureRecognizer macOS 10.10
@interface NSGestureRecognizer : NSObject
// @doc initWithTarget /documentation/AppKit/NSGestureRecognizer/init(target:action:) macOS 10.10
- (instancetype)initWithTarget:(nullable id)target action:(nullable SEL)action;
// @doc state /documentation/AppKit/NSGestureRecognizer/state-swift.property macOS 10.10
@property(readwrite) NSGestureRecognizerState state;
// @doc delegate /documentation/AppKit/NSGestureRecognizer/delegate macOS 10.10
@property(weak, nullable) id<NSGestureRecognizerDelegate> delegate;
// @doc enabled /documentation/AppKit/NSGestureRecognizer/isEnabled macOS 10.10
@property(getter=isEnabled) BOOL enabled;
// @doc view /documentation/AppKit/NSGestureRecognizer/view macOS 10.10
@property(readonly, nullable) NSView* view;
// @doc locationInView /documentation/AppKit/NSGestureRecognizer/location(in:) macOS 10.10
- (NSPoint)locationInView:(nullable NSView*)view;
// @doc allowedTouchTypes /documentation/AppKit/NSGestureRecognizer/allowedTouchTypes macOS 10.12.2
@property NSTouchTypeMask allowedTouchTypes;
// @doc reset /documentation/AppKit/NSGestureRecognizer/reset() macOS 10.10
- (void)reset __attribute__((objc_requires_super));
// @doc touchesBeganWithEvent /documentation/AppKit/NSGestureRecognizer/touchesBegan(with:) macOS 10.12.2
- (void)touchesBeganWithEvent:(NSEvent*)event;
// @doc touchesMovedWithEvent /documentation/AppKit/NSGestureRecognizer/touchesMoved(with:) macOS 10.12.2
- (void)touchesMovedWithEvent:(NSEvent*)event;
// @doc touchesEndedWithEvent /documentation/AppKit/NSGestureRecognizer/touchesEnded(with:) macOS 10.12.2
- (void)touchesEndedWithEvent:(NSEvent*)event;
// @doc touchesCancelledWithEvent /documentation/AppKit/NSGestureRecognizer/touchesCancelled(with:) macOS 10.12.2
- (void)touchesCancelledWithEvent:(NSEvent*)event;
@end

// @doc NSGestureRecognizerDelegate /documentation/AppKit/NSGestureRecognizerDelegate macOS 10.10
@protocol NSGestureRecognizerDelegate <NSObject>
@optional
// @doc shouldAttemptToRecognizeWithEvent /documentation/AppKit/NSGestureRecognizerDelegate/gestureRecognizer(_:shouldAttemptToRecognizeWith:) macOS 10.11
- (BOOL)gestureRecognizer:(NSGestureRecognizer*)gestureRecognizer shouldAttemptToRecognizeWithEvent:(NSEvent*)event;
// @doc gestureRecognizerShouldBegin /documentation/AppKit/NSGestureRecognizerDelegate/gestureRecognizerShouldBegin(_:) macOS 10.10
- (BOOL)gestureRecognizerShouldBegin:(NSGestureRecognizer*)gestureRecognizer;
// @doc shouldReceiveTouch /documentation/AppKit/NSGestureRecognizerDelegate/gestureRecognizer(_:shouldReceive:) macOS 10.12.2
- (BOOL)gestureRecognizer:(NSGestureRecognizer*)gestureRecognizer shouldReceiveTouch:(NSTouch*)touch;
@end

#pragma clang assume_nonnull end
