#pragma once

#include <Foundation/Foundation.h>
#include <QuartzCore/QuartzCore.h>

#pragma clang assume_nonnull begin

// @doc NSAnimationContext /documentation/AppKit/NSAnimationContext macOS 10.5
@interface NSAnimationContext : NSObject
// @doc runAnimationGroup /documentation/AppKit/NSAnimationContext/runAnimationGroup(_:completionHandler:) macOS 10.7
+ (void)runAnimationGroup:(void (^)(NSAnimationContext* context))changes
        completionHandler:(nullable void (^)(void))completionHandler;
// @doc duration /documentation/AppKit/NSAnimationContext/duration macOS 10.5
@property NSTimeInterval duration;
// @doc timingFunction /documentation/AppKit/NSAnimationContext/timingFunction macOS 10.7
@property(nullable, strong) CAMediaTimingFunction* timingFunction;
@end

// @doc NSAnimatablePropertyContainer /documentation/AppKit/NSAnimatablePropertyContainer macOS 10.5
@protocol NSAnimatablePropertyContainer
// @doc animator /documentation/AppKit/NSAnimatablePropertyContainer/animator() macOS 10.5
- (instancetype)animator;
@end

#pragma clang assume_nonnull end
