#pragma once

#include <AppKit/AppKit.h>
#include <Metal/Metal.h>
#include <QuartzCore/QuartzCore.h>

#pragma clang assume_nonnull begin

@class MTKView;

// @doc MTKViewDelegate /documentation/MetalKit/MTKViewDelegate macOS 10.11
@protocol MTKViewDelegate <NSObject>
// @doc mtkView /documentation/MetalKit/MTKViewDelegate/mtkView(_:drawableSizeWillChange:) macOS 10.11
- (void)mtkView:(MTKView*)view drawableSizeWillChange:(CGSize)size;
// @doc drawInMTKView /documentation/MetalKit/MTKViewDelegate/draw(in:) macOS 10.11
- (void)drawInMTKView:(MTKView*)view;
@end

// @doc MTKView /documentation/MetalKit/MTKView macOS 10.11
@interface MTKView : NSView
// @doc initWithFrame /documentation/MetalKit/MTKView/init(frame:device:) macOS 10.11
- (instancetype)initWithFrame:(CGRect)frameRect device:(nullable id<MTLDevice>)device;
// @doc delegate /documentation/MetalKit/MTKView/delegate macOS 10.11
@property(nonatomic, weak, nullable) id<MTKViewDelegate> delegate;
// @doc currentDrawable /documentation/MetalKit/MTKView/currentDrawable macOS 10.11
@property(nonatomic, readonly, nullable) id<CAMetalDrawable> currentDrawable;
// @doc framebufferOnly /documentation/MetalKit/MTKView/framebufferOnly macOS 10.11
@property(nonatomic) BOOL framebufferOnly;
// @doc colorPixelFormat /documentation/MetalKit/MTKView/colorPixelFormat macOS 10.11
@property(nonatomic) MTLPixelFormat colorPixelFormat;
// @doc colorspace /documentation/MetalKit/MTKView/colorspace macOS 10.12
@property(nonatomic, nullable) CGColorSpaceRef colorspace;
// @doc clearColor /documentation/MetalKit/MTKView/clearColor macOS 10.11
@property(nonatomic) MTLClearColor clearColor;
// @doc paused /documentation/MetalKit/MTKView/isPaused macOS 10.11
@property(nonatomic, getter=isPaused) BOOL paused;
// @doc enableSetNeedsDisplay /documentation/MetalKit/MTKView/enableSetNeedsDisplay macOS 10.11
@property(nonatomic) BOOL enableSetNeedsDisplay;
// @doc preferredFramesPerSecond /documentation/MetalKit/MTKView/preferredFramesPerSecond macOS 10.11
@property(nonatomic) NSInteger preferredFramesPerSecond;
// @doc drawableSize /documentation/MetalKit/MTKView/drawableSize macOS 10.11
@property(nonatomic) CGSize drawableSize;
// @doc draw /documentation/MetalKit/MTKView/draw() macOS 10.11
- (void)draw;
// @doc releaseDrawables /documentation/MetalKit/MTKView/releaseDrawables() macOS 10.13
- (void)releaseDrawables;
@end

#pragma clang assume_nonnull end
