#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>
#include <Metal/Metal.h>

#pragma clang assume_nonnull begin

// @doc CALayer /documentation/QuartzCore/CALayer
@interface CALayer : NSObject
// @doc opaque /documentation/QuartzCore/CALayer/isOpaque
@property(getter=isOpaque) BOOL opaque;
@end

// @doc CAMetalDrawable /documentation/QuartzCore/CAMetalDrawable
@protocol CAMetalDrawable <MTLDrawable>
// @doc texture /documentation/QuartzCore/CAMetalDrawable/texture
@property(readonly) id<MTLTexture> texture;
@end

// @doc CAMetalLayer /documentation/QuartzCore/CAMetalLayer
@interface CAMetalLayer : CALayer
// @doc colorspace /documentation/QuartzCore/CAMetalLayer/colorspace
@property(nullable) CGColorSpaceRef colorspace;
// @doc displaySyncEnabled /documentation/QuartzCore/CAMetalLayer/displaySyncEnabled
@property BOOL displaySyncEnabled;
// @doc maximumDrawableCount /documentation/QuartzCore/CAMetalLayer/maximumDrawableCount
@property NSUInteger maximumDrawableCount;
// @doc wantsExtendedDynamicRangeContent /documentation/QuartzCore/CAMetalLayer/wantsExtendedDynamicRangeContent
@property BOOL wantsExtendedDynamicRangeContent;
@end

// @doc CAMediaTimingFunctionName /documentation/QuartzCore/CAMediaTimingFunctionName
typedef NSString* CAMediaTimingFunctionName __attribute__((swift_wrapper(enum)));
// @doc kCAMediaTimingFunctionLinear /documentation/QuartzCore/CAMediaTimingFunctionName/linear
extern "C" CAMediaTimingFunctionName const kCAMediaTimingFunctionLinear;
// @doc kCAMediaTimingFunctionEaseIn /documentation/QuartzCore/CAMediaTimingFunctionName/easeIn
extern "C" CAMediaTimingFunctionName const kCAMediaTimingFunctionEaseIn;
// @doc kCAMediaTimingFunctionEaseOut /documentation/QuartzCore/CAMediaTimingFunctionName/easeOut
extern "C" CAMediaTimingFunctionName const kCAMediaTimingFunctionEaseOut;
// @doc kCAMediaTimingFunctionEaseInEaseOut /documentation/QuartzCore/CAMediaTimingFunctionName/easeInEaseOut
extern "C" CAMediaTimingFunctionName const kCAMediaTimingFunctionEaseInEaseOut;

// @doc CAMediaTimingFunction /documentation/QuartzCore/CAMediaTimingFunction
@interface CAMediaTimingFunction : NSObject
// @doc functionWithName /documentation/QuartzCore/CAMediaTimingFunction/init(name:)
+ (instancetype)functionWithName:(CAMediaTimingFunctionName)name;
@end

#pragma clang assume_nonnull end
