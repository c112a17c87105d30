#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>
#include <Metal/Metal.h>

#pragma clang assume_nonnull begin

// @doc CALayer /documentation/QuartzCore/CALayer macOS 10.5
@interface CALayer : NSObject
// @doc opaque /documentation/QuartzCore/CALayer/isOpaque macOS 10.5
@property(getter=isOpaque) BOOL opaque;
@end

// @doc CAMetalDrawable /documentation/QuartzCore/CAMetalDrawable macOS 10.11
@protocol CAMetalDrawable <MTLDrawable>
// @doc texture /documentation/QuartzCore/CAMetalDrawable/texture macOS 10.11
@property(readonly) id<MTLTexture> texture;
@end

// @doc CAMetalLayer /documentation/QuartzCore/CAMetalLayer macOS 10.11
@interface CAMetalLayer : CALayer
// @doc colorspace /documentation/QuartzCore/CAMetalLayer/colorspace macOS 10.11
@property(nullable) CGColorSpaceRef colorspace;
// @doc displaySyncEnabled /documentation/QuartzCore/CAMetalLayer/displaySyncEnabled macOS 10.13
@property BOOL displaySyncEnabled;
// @doc maximumDrawableCount /documentation/QuartzCore/CAMetalLayer/maximumDrawableCount macOS 10.13.2
@property NSUInteger maximumDrawableCount;
// @doc wantsExtendedDynamicRangeContent /documentation/QuartzCore/CAMetalLayer/wantsExtendedDynamicRangeContent macOS 10.11
@property BOOL wantsExtendedDynamicRangeContent;
@end

// @doc CAMediaTimingFunctionName /documentation/QuartzCore/CAMediaTimingFunctionName macOS 10.5
typedef NSString* CAMediaTimingFunctionName __attribute__((swift_wrapper(enum)));
// @doc kCAMediaTimingFunctionLinear /documentation/QuartzCore/CAMediaTimingFunctionName/linear macOS 10.5
extern "C" CAMediaTimingFunctionName const kCAMediaTimingFunctionLinear;
// @doc kCAMediaTimingFunctionEaseIn /documentation/QuartzCore/CAMediaTimingFunctionName/easeIn macOS 10.5
extern "C" CAMediaTimingFunctionName const kCAMediaTimingFunctionEaseIn;
// @doc kCAMediaTimingFunctionEaseOut /documentation/QuartzCore/CAMediaTimingFunctionName/easeOut macOS 10.5
extern "C" CAMediaTimingFunctionName const kCAMediaTimingFunctionEaseOut;
// @doc kCAMediaTimingFunctionEaseInEaseOut /documentation/QuartzCore/CAMediaTimingFunctionName/easeInEaseOut macOS 10.5
extern "C" CAMediaTimingFunctionName const kCAMediaTimingFunctionEaseInEaseOut;

// @doc CAMediaTimingFunction /documentation/QuartzCore/CAMediaTimingFunction macOS 10.5
@interface CAMediaTimingFunction : NSObject
// @doc functionWithName /documentation/QuartzCore/CAMediaTimingFunction/init(name:) macOS 10.5
+ (instancetype)functionWithName:(CAMediaTimingFunctionName)name;
@end

#pragma clang assume_nonnull end
