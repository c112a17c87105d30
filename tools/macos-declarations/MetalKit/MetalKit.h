#pragma once

#include <AppKit/AppKit.h>
#include <Metal/Metal.h>
#include <QuartzCore/QuartzCore.h>

#pragma clang assume_nonnull begin

@class MTKView;

// @doc MTKViewDelegate /documentation/MetalKit/MTKViewDelegate
@protocol MTKViewDelegate <NSObject>
// @doc mtkView /documentation/MetalKit/MTKViewDelegate/mtkView(_:drawableSizeWillChange:)
- (void)mtkView:(MTKView*)view drawableSizeWillChange:(CGSize)size;
// @doc drawInMTKView /documentation/MetalKit/MTKViewDelegate/draw(in:)
- (void)drawInMTKView:(MTKView*)view;
@end

// @doc MTKView /documentation/MetalKit/MTKView
@interface MTKView : NSView
// @doc initWithFrame /documentation/MetalKit/MTKView/init(frame:device:)
- (instancetype)initWithFrame:(CGRect)frameRect device:(nullable id<MTLDevice>)device;
// @doc delegate /documentation/MetalKit/MTKView/delegate
@property(nonatomic, weak, nullable) id<MTKViewDelegate> delegate;
// @doc currentDrawable /documentation/MetalKit/MTKView/currentDrawable
@property(nonatomic, readonly, nullable) id<CAMetalDrawable> currentDrawable;
// @doc framebufferOnly /documentation/MetalKit/MTKView/framebufferOnly
@property(nonatomic) BOOL framebufferOnly;
// @doc colorPixelFormat /documentation/MetalKit/MTKView/colorPixelFormat
@property(nonatomic) MTLPixelFormat colorPixelFormat;
// @doc colorspace /documentation/MetalKit/MTKView/colorspace
@property(nonatomic, nullable) CGColorSpaceRef colorspace;
// @doc clearColor /documentation/MetalKit/MTKView/clearColor
@property(nonatomic) MTLClearColor clearColor;
// @doc paused /documentation/MetalKit/MTKView/isPaused
@property(nonatomic, getter=isPaused) BOOL paused;
// @doc enableSetNeedsDisplay /documentation/MetalKit/MTKView/enableSetNeedsDisplay
@property(nonatomic) BOOL enableSetNeedsDisplay;
// @doc preferredFramesPerSecond /documentation/MetalKit/MTKView/preferredFramesPerSecond
@property(nonatomic) NSInteger preferredFramesPerSecond;
// @doc drawableSize /documentation/MetalKit/MTKView/drawableSize
@property(nonatomic) CGSize drawableSize;
// @doc draw /documentation/MetalKit/MTKView/draw()
- (void)draw;
// @doc releaseDrawables /documentation/MetalKit/MTKView/releaseDrawables()
- (void)releaseDrawables;
@end

#pragma clang assume_nonnull end
