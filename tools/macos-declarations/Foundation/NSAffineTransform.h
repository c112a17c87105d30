#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSAffineTransform /documentation/Foundation/NSAffineTransform macOS 10.0
@interface NSAffineTransform : NSObject
// @doc transform /documentation/Foundation/NSAffineTransform/init() macOS 10.0
+ (NSAffineTransform*)transform;
// @doc translateXBy /documentation/Foundation/NSAffineTransform/translateX(by:yBy:) macOS 10.0
- (void)translateXBy:(CGFloat)deltaX yBy:(CGFloat)deltaY;
// @doc rotateByRadians /documentation/Foundation/NSAffineTransform/rotate(byRadians:) macOS 10.0
- (void)rotateByRadians:(CGFloat)angle;
// The AppKit addition that applies the transform to the current graphics context.
// @doc concat /documentation/AppKit/NSAffineTransform/concat() macOS 10.0
- (void)concat;
@end

#pragma clang assume_nonnull end
