#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/NSObjCRuntime.h>

#pragma clang assume_nonnull begin

// @doc NSAffineTransform /documentation/Foundation/NSAffineTransform
@interface NSAffineTransform : NSObject
// @doc transform /documentation/Foundation/NSAffineTransform/init()
+ (NSAffineTransform*)transform;
// @doc translateXBy /documentation/Foundation/NSAffineTransform/translateX(by:yBy:)
- (void)translateXBy:(CGFloat)deltaX yBy:(CGFloat)deltaY;
// @doc rotateByRadians /documentation/Foundation/NSAffineTransform/rotate(byRadians:)
- (void)rotateByRadians:(CGFloat)angle;
// The AppKit addition that applies the transform to the current graphics context.
// @doc concat /documentation/AppKit/NSAffineTransform/concat()
- (void)concat;
@end

#pragma clang assume_nonnull end
