#pragma once

#include <Foundation/Foundation.h>
#include <QuartzCore/QuartzCore.h>

#pragma clang assume_nonnull begin

// @doc NSAnimationContext /documentation/AppKit/NSAnimationContext
@interface NSAnimationContext : NSObject
// @doc runAnimationGroup /documentation/AppKit/NSAnimationContext/runAnimationGroup(_:completionHandler:)
+ (void)runAnimationGroup:(void (^)(NSAnimationContext* context))changes
        completionHandler:(nullable void (^)(void))completionHandler;
// @doc duration /documentation/AppKit/NSAnimationContext/duration
@property NSTimeInterval duration;
// @doc timingFunction /documentation/AppKit/NSAnimationContext/timingFunction
@property(nullable, strong) CAMediaTimingFunction* timingFunction;
@end

// @doc NSAnimatablePropertyContainer /documentation/AppKit/NSAnimatablePropertyContainer
@protocol NSAnimatablePropertyContainer
// @doc animator /documentation/AppKit/NSAnimatablePropertyContainer/animator()
- (instancetype)animator;
@end

#pragma clang assume_nonnull end
