#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc MTLPixelFormat /documentation/Metal/MTLPixelFormat
typedef enum MTLPixelFormat : NSUInteger {
  // @doc MTLPixelFormatBGRA8Unorm /documentation/Metal/MTLPixelFormat/bgra8Unorm
  MTLPixelFormatBGRA8Unorm = 80,
} MTLPixelFormat;

// @doc MTLLoadAction /documentation/Metal/MTLLoadAction
typedef enum MTLLoadAction : NSUInteger {
  // @doc MTLLoadActionClear /documentation/Metal/MTLLoadAction/clear
  MTLLoadActionClear = 2,
} MTLLoadAction;

// @doc MTLStoreAction /documentation/Metal/MTLStoreAction
typedef enum MTLStoreAction : NSUInteger {
  // @doc MTLStoreActionStore /documentation/Metal/MTLStoreAction/store
  MTLStoreActionStore = 1,
} MTLStoreAction;

// @doc MTLPrimitiveType /documentation/Metal/MTLPrimitiveType
typedef enum MTLPrimitiveType : NSUInteger {
  // @doc MTLPrimitiveTypeTriangle /documentation/Metal/MTLPrimitiveType/triangle
  MTLPrimitiveTypeTriangle = 3,
} MTLPrimitiveType;

// @doc MTLClearColor /documentation/Metal/MTLClearColor
typedef struct {
  double red;
  double green;
  double blue;
  double alpha;
} MTLClearColor;

// @doc MTLClearColorMake /documentation/Metal/MTLClearColorMake(_:_:_:_:)
static inline MTLClearColor MTLClearColorMake(double red, double green, double blue, double alpha) {
  MTLClearColor color = {red, green, blue, alpha};
  return color;
}

// @doc MTLViewport /documentation/Metal/MTLViewport
typedef struct {
  double originX;
  double originY;
  double width;
  double height;
  double znear;
  double zfar;
} MTLViewport;

// @doc MTLTexture /documentation/Metal/MTLTexture
@protocol MTLTexture <NSObject>
// @doc width /documentation/Metal/MTLTexture/width
@property(readonly) NSUInteger width;
// @doc height /documentation/Metal/MTLTexture/height
@property(readonly) NSUInteger height;
// @doc pixelFormat /documentation/Metal/MTLTexture/pixelFormat
@property(readonly) MTLPixelFormat pixelFormat;
@end

// @doc MTLFunction /documentation/Metal/MTLFunction
@protocol MTLFunction <NSObject>
@end

// @doc MTLLibrary /documentation/Metal/MTLLibrary
@protocol MTLLibrary <NSObject>
// @doc newFunctionWithName /documentation/Metal/MTLLibrary/makeFunction(name:)
- (nullable id<MTLFunction>)newFunctionWithName:(NSString*)functionName;
@end

// @doc MTLRenderPipelineState /documentation/Metal/MTLRenderPipelineState
@protocol MTLRenderPipelineState <NSObject>
@end

@protocol MTLDrawable;
// @doc MTLDrawablePresentedHandler /documentation/Metal/MTLDrawablePresentedHandler
typedef void (^MTLDrawablePresentedHandler)(id<MTLDrawable>);

// @doc MTLDrawable /documentation/Metal/MTLDrawable
@protocol MTLDrawable <NSObject>
// @doc present /documentation/Metal/MTLDrawable/present()
- (void)present;
// @doc addPresentedHandler /documentation/Metal/MTLDrawable/addPresentedHandler(_:)
- (void)addPresentedHandler:(MTLDrawablePresentedHandler)block;
@end

// @doc MTLRenderPipelineColorAttachmentDescriptor /documentation/Metal/MTLRenderPipelineColorAttachmentDescriptor
@interface MTLRenderPipelineColorAttachmentDescriptor : NSObject
// @doc pixelFormat /documentation/Metal/MTLRenderPipelineColorAttachmentDescriptor/pixelFormat
@property(nonatomic) MTLPixelFormat pixelFormat;
// @doc blendingEnabled /documentation/Metal/MTLRenderPipelineColorAttachmentDescriptor/isBlendingEnabled
@property(nonatomic, getter=isBlendingEnabled) BOOL blendingEnabled;
@end

// @doc MTLRenderPipelineColorAttachmentDescriptorArray /documentation/Metal/MTLRenderPipelineColorAttachmentDescriptorArray
@interface MTLRenderPipelineColorAttachmentDescriptorArray : NSObject
// @doc objectAtIndexedSubscript /documentation/Metal/MTLRenderPipelineColorAttachmentDescriptorArray/subscript(_:)
- (MTLRenderPipelineColorAttachmentDescriptor*)objectAtIndexedSubscript:(NSUInteger)attachmentIndex;
@end

// @doc MTLRenderPipelineDescriptor /documentation/Metal/MTLRenderPipelineDescriptor
@interface MTLRenderPipelineDescriptor : NSObject
// @doc vertexFunction /documentation/Metal/MTLRenderPipelineDescriptor/vertexFunction
@property(nullable, readwrite, nonatomic, strong) id<MTLFunction> vertexFunction;
// @doc fragmentFunction /documentation/Metal/MTLRenderPipelineDescriptor/fragmentFunction
@property(nullable, readwrite, nonatomic, strong) id<MTLFunction> fragmentFunction;
// @doc colorAttachments /documentation/Metal/MTLRenderPipelineDescriptor/colorAttachments
@property(readonly) MTLRenderPipelineColorAttachmentDescriptorArray* colorAttachments;
@end

// @doc MTLRenderPassColorAttachmentDescriptor /documentation/Metal/MTLRenderPassColorAttachmentDescriptor
@interface MTLRenderPassColorAttachmentDescriptor : NSObject
// @doc texture /documentation/Metal/MTLRenderPassAttachmentDescriptor/texture
@property(nullable, nonatomic, strong) id<MTLTexture> texture;
// @doc loadAction /documentation/Metal/MTLRenderPassAttachmentDescriptor/loadAction
@property(nonatomic) MTLLoadAction loadAction;
// @doc storeAction /documentation/Metal/MTLRenderPassAttachmentDescriptor/storeAction
@property(nonatomic) MTLStoreAction storeAction;
// @doc clearColor /documentation/Metal/MTLRenderPassColorAttachmentDescriptor/clearColor
@property(nonatomic) MTLClearColor clearColor;
@end

// @doc MTLRenderPassColorAttachmentDescriptorArray /documentation/Metal/MTLRenderPassColorAttachmentDescriptorArray
@interface MTLRenderPassColorAttachmentDescriptorArray : NSObject
// @doc objectAtIndexedSubscript /documentation/Metal/MTLRenderPassColorAttachmentDescriptorArray/subscript(_:)
- (MTLRenderPassColorAttachmentDescriptor*)objectAtIndexedSubscript:(NSUInteger)attachmentIndex;
@end

// @doc MTLRenderPassDescriptor /documentation/Metal/MTLRenderPassDescriptor
@interface MTLRenderPassDescriptor : NSObject
// @doc renderPassDescriptor /documentation/Metal/MTLRenderPassDescriptor/init()
+ (MTLRenderPassDescriptor*)renderPassDescriptor;
// @doc colorAttachments /documentation/Metal/MTLRenderPassDescriptor/colorAttachments
@property(readonly) MTLRenderPassColorAttachmentDescriptorArray* colorAttachments;
@end

// @doc MTLRenderCommandEncoder /documentation/Metal/MTLRenderCommandEncoder
@protocol MTLRenderCommandEncoder <NSObject>
// @doc setRenderPipelineState /documentation/Metal/MTLRenderCommandEncoder/setRenderPipelineState(_:)
- (void)setRenderPipelineState:(id<MTLRenderPipelineState>)pipelineState;
// @doc setViewport /documentation/Metal/MTLRenderCommandEncoder/setViewport(_:)
- (void)setViewport:(MTLViewport)viewport;
// @doc setFragmentTexture /documentation/Metal/MTLRenderCommandEncoder/setFragmentTexture(_:index:)
- (void)setFragmentTexture:(nullable id<MTLTexture>)texture atIndex:(NSUInteger)index;
// @doc setFragmentBytes /documentation/Metal/MTLRenderCommandEncoder/setFragmentBytes(_:length:index:)
- (void)setFragmentBytes:(const void*)bytes length:(NSUInteger)length atIndex:(NSUInteger)index;
// @doc drawPrimitives /documentation/Metal/MTLRenderCommandEncoder/drawPrimitives(type:vertexStart:vertexCount:)
- (void)drawPrimitives:(MTLPrimitiveType)primitiveType vertexStart:(NSUInteger)vertexStart vertexCount:(NSUInteger)vertexCount;
// @doc endEncoding /documentation/Metal/MTLCommandEncoder/endEncoding()
- (void)endEncoding;
@end

@protocol MTLCommandBuffer;
// @doc MTLCommandBufferHandler /documentation/Metal/MTLCommandBufferHandler
typedef void (^MTLCommandBufferHandler)(id<MTLCommandBuffer>);

// @doc MTLCommandBuffer /documentation/Metal/MTLCommandBuffer
@protocol MTLCommandBuffer <NSObject>
// @doc renderCommandEncoderWithDescriptor /documentation/Metal/MTLCommandBuffer/makeRenderCommandEncoder(descriptor:)
- (nullable id<MTLRenderCommandEncoder>)renderCommandEncoderWithDescriptor:(MTLRenderPassDescriptor*)renderPassDescriptor;
// @doc presentDrawable /documentation/Metal/MTLCommandBuffer/present(_:)
- (void)presentDrawable:(id<MTLDrawable>)drawable;
// @doc addCompletedHandler /documentation/Metal/MTLCommandBuffer/addCompletedHandler(_:)
- (void)addCompletedHandler:(MTLCommandBufferHandler)block;
// @doc commit /documentation/Metal/MTLCommandBuffer/commit()
- (void)commit;
// @doc GPUStartTime /documentation/Metal/MTLCommandBuffer/gpuStartTime
@property(readonly) CFTimeInterval GPUStartTime;
// @doc GPUEndTime /documentation/Metal/MTLCommandBuffer/gpuEndTime
@property(readonly) CFTimeInterval GPUEndTime;
// @doc error /documentation/Metal/MTLCommandBuffer/error
@property(nullable, readonly) NSError* error;
@end

// @doc MTLCommandQueue /documentation/Metal/MTLCommandQueue
@protocol MTLCommandQueue <NSObject>
// @doc commandBuffer /documentation/Metal/MTLCommandQueue/makeCommandBuffer()
- (nullable id<MTLCommandBuffer>)commandBuffer;
@end

// @doc MTLCompileOptions /documentation/Metal/MTLCompileOptions
@interface MTLCompileOptions : NSObject
@end

// @doc MTLDevice /documentation/Metal/MTLDevice
@protocol MTLDevice <NSObject>
// @doc newCommandQueue /documentation/Metal/MTLDevice/makeCommandQueue()
- (nullable id<MTLCommandQueue>)newCommandQueue;
// @doc newLibraryWithSource /documentation/Metal/MTLDevice/makeLibrary(source:options:)
- (nullable id<MTLLibrary>)newLibraryWithSource:(NSString*)source
                                        options:(nullable MTLCompileOptions*)options
                                          error:(NSError* _Nullable* _Nullable)error;
// @doc newRenderPipelineStateWithDescriptor /documentation/Metal/MTLDevice/makeRenderPipelineState(descriptor:)
- (nullable id<MTLRenderPipelineState>)newRenderPipelineStateWithDescriptor:(MTLRenderPipelineDescriptor*)descriptor
                                                                      error:(NSError* _Nullable* _Nullable)error;
@end

// @doc MTLCreateSystemDefaultDevice /documentation/Metal/MTLCreateSystemDefaultDevice()
extern "C" id<MTLDevice> _Nullable MTLCreateSystemDefaultDevice(void) __attribute__((ns_returns_retained));

#pragma clang assume_nonnull end
