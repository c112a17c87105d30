#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc MTLPixelFormat /documentation/Metal/MTLPixelFormat macOS 10.11
typedef enum MTLPixelFormat : NSUInteger {
  // @doc MTLPixelFormatBGRA8Unorm /documentation/Metal/MTLPixelFormat/bgra8Unorm macOS 10.11
  MTLPixelFormatBGRA8Unorm = 80,
} MTLPixelFormat;

// @doc MTLLoadAction /documentation/Metal/MTLLoadAction macOS 10.11
typedef enum MTLLoadAction : NSUInteger {
  // @doc MTLLoadActionClear /documentation/Metal/MTLLoadAction/clear macOS 10.11
  MTLLoadActionClear = 2,
} MTLLoadAction;

// @doc MTLStoreAction /documentation/Metal/MTLStoreAction macOS 10.11
typedef enum MTLStoreAction : NSUInteger {
  // @doc MTLStoreActionStore /documentation/Metal/MTLStoreAction/store macOS 10.11
  MTLStoreActionStore = 1,
} MTLStoreAction;

// @doc MTLPrimitiveType /documentation/Metal/MTLPrimitiveType macOS 10.11
typedef enum MTLPrimitiveType : NSUInteger {
  // @doc MTLPrimitiveTypeTriangle /documentation/Metal/MTLPrimitiveType/triangle macOS 10.11
  MTLPrimitiveTypeTriangle = 3,
} MTLPrimitiveType;

// @doc MTLClearColor /documentation/Metal/MTLClearColor macOS 10.11
typedef struct {
  double red;
  double green;
  double blue;
  double alpha;
} MTLClearColor;

// @doc MTLClearColorMake /documentation/Metal/MTLClearColorMake(_:_:_:_:) macOS 10.11
static inline MTLClearColor MTLClearColorMake(double red, double green, double blue, double alpha) {
  MTLClearColor color = {red, green, blue, alpha};
  return color;
}

// @doc MTLViewport /documentation/Metal/MTLViewport macOS 10.11
typedef struct {
  double originX;
  double originY;
  double width;
  double height;
  double znear;
  double zfar;
} MTLViewport;

// @doc MTLTextureUsage /documentation/Metal/MTLTextureUsage macOS 10.11
typedef NSUInteger MTLTextureUsage;
enum : NSUInteger {
  // @doc MTLTextureUsageShaderRead /documentation/Metal/MTLTextureUsage/shaderRead macOS 10.11
  MTLTextureUsageShaderRead = 0x0001,
  // @doc MTLTextureUsageRenderTarget /documentation/Metal/MTLTextureUsage/renderTarget macOS 10.11
  MTLTextureUsageRenderTarget = 0x0004,
};

// @doc MTLStorageMode /documentation/Metal/MTLStorageMode macOS 10.11
typedef enum MTLStorageMode : NSUInteger {
  // @doc MTLStorageModeManaged /documentation/Metal/MTLStorageMode/managed macOS 10.11
  MTLStorageModeManaged = 1,
} MTLStorageMode;

// @doc MTLOrigin /documentation/Metal/MTLOrigin macOS 10.11
typedef struct {
  NSUInteger x;
  NSUInteger y;
  NSUInteger z;
} MTLOrigin;

// @doc MTLSize /documentation/Metal/MTLSize macOS 10.11
typedef struct {
  NSUInteger width;
  NSUInteger height;
  NSUInteger depth;
} MTLSize;

// @doc MTLRegion /documentation/Metal/MTLRegion macOS 10.11
typedef struct {
  MTLOrigin origin;
  MTLSize size;
} MTLRegion;

// @doc MTLRegionMake2D /documentation/Metal/MTLRegionMake2D(_:_:_:_:) macOS 10.11
static inline MTLRegion MTLRegionMake2D(NSUInteger x, NSUInteger y, NSUInteger width, NSUInteger height) {
  MTLRegion region = {{x, y, 0}, {width, height, 1}};
  return region;
}

// @doc MTLResource /documentation/Metal/MTLResource macOS 10.11
@protocol MTLResource <NSObject>
@end

// @doc MTLTexture /documentation/Metal/MTLTexture macOS 10.11
@protocol MTLTexture <MTLResource>
// @doc width /documentation/Metal/MTLTexture/width macOS 10.11
@property(readonly) NSUInteger width;
// @doc height /documentation/Metal/MTLTexture/height macOS 10.11
@property(readonly) NSUInteger height;
// @doc pixelFormat /documentation/Metal/MTLTexture/pixelFormat macOS 10.11
@property(readonly) MTLPixelFormat pixelFormat;
// @doc getBytes /documentation/Metal/MTLTexture/getBytes(_:bytesPerRow:from:mipmapLevel:) macOS 10.11
- (void)getBytes:(void*)pixelBytes
     bytesPerRow:(NSUInteger)bytesPerRow
      fromRegion:(MTLRegion)region
     mipmapLevel:(NSUInteger)level;
@end

// @doc MTLTextureDescriptor /documentation/Metal/MTLTextureDescriptor macOS 10.11
@interface MTLTextureDescriptor : NSObject
// @doc texture2DDescriptorWithPixelFormat /documentation/Metal/MTLTextureDescriptor/texture2DDescriptor(pixelFormat:width:height:mipmapped:) macOS 10.11
+ (MTLTextureDescriptor*)texture2DDescriptorWithPixelFormat:(MTLPixelFormat)pixelFormat
                                                      width:(NSUInteger)width
                                                     height:(NSUInteger)height
                                                  mipmapped:(BOOL)mipmapped;
// @doc usage /documentation/Metal/MTLTextureDescriptor/usage macOS 10.11
@property(readwrite, nonatomic) MTLTextureUsage usage;
// @doc storageMode /documentation/Metal/MTLTextureDescriptor/storageMode macOS 10.11
@property(readwrite, nonatomic) MTLStorageMode storageMode;
@end

// @doc MTLFunction /documentation/Metal/MTLFunction macOS 10.11
@protocol MTLFunction <NSObject>
@end

// @doc MTLLibrary /documentation/Metal/MTLLibrary macOS 10.11
@protocol MTLLibrary <NSObject>
// @doc newFunctionWithName /documentation/Metal/MTLLibrary/makeFunction(name:) macOS 10.11
- (nullable id<MTLFunction>)newFunctionWithName:(NSString*)functionName;
@end

// @doc MTLRenderPipelineState /documentation/Metal/MTLRenderPipelineState macOS 10.11
@protocol MTLRenderPipelineState <NSObject>
@end

@protocol MTLDrawable;
// @doc MTLDrawablePresentedHandler /documentation/Metal/MTLDrawablePresentedHandler macOS 10.11
typedef void (^MTLDrawablePresentedHandler)(id<MTLDrawable>);

// @doc MTLDrawable /documentation/Metal/MTLDrawable macOS 10.11
@protocol MTLDrawable <NSObject>
// @doc present /documentation/Metal/MTLDrawable/present() macOS 10.11
- (void)present;
// @doc addPresentedHandler /documentation/Metal/MTLDrawable/addPresentedHandler(_:) macOS 10.15.4
- (void)addPresentedHandler:(MTLDrawablePresentedHandler)block;
@end

// @doc MTLRenderPipelineColorAttachmentDescriptor /documentation/Metal/MTLRenderPipelineColorAttachmentDescriptor macOS 10.11
@interface MTLRenderPipelineColorAttachmentDescriptor : NSObject
// @doc pixelFormat /documentation/Metal/MTLRenderPipelineColorAttachmentDescriptor/pixelFormat macOS 10.11
@property(nonatomic) MTLPixelFormat pixelFormat;
// @doc blendingEnabled /documentation/Metal/MTLRenderPipelineColorAttachmentDescriptor/isBlendingEnabled macOS 10.11
@property(nonatomic, getter=isBlendingEnabled) BOOL blendingEnabled;
@end

// @doc MTLRenderPipelineColorAttachmentDescriptorArray /documentation/Metal/MTLRenderPipelineColorAttachmentDescriptorArray macOS 10.11
@interface MTLRenderPipelineColorAttachmentDescriptorArray : NSObject
// @doc objectAtIndexedSubscript /documentation/Metal/MTLRenderPipelineColorAttachmentDescriptorArray/subscript(_:) macOS 10.11
- (MTLRenderPipelineColorAttachmentDescriptor*)objectAtIndexedSubscript:(NSUInteger)attachmentIndex;
@end

// @doc MTLRenderPipelineDescriptor /documentation/Metal/MTLRenderPipelineDescriptor macOS 10.11
@interface MTLRenderPipelineDescriptor : NSObject
// @doc vertexFunction /documentation/Metal/MTLRenderPipelineDescriptor/vertexFunction macOS 10.11
@property(nullable, readwrite, nonatomic, strong) id<MTLFunction> vertexFunction;
// @doc fragmentFunction /documentation/Metal/MTLRenderPipelineDescriptor/fragmentFunction macOS 10.11
@property(nullable, readwrite, nonatomic, strong) id<MTLFunction> fragmentFunction;
// @doc colorAttachments /documentation/Metal/MTLRenderPipelineDescriptor/colorAttachments macOS 10.11
@property(readonly) MTLRenderPipelineColorAttachmentDescriptorArray* colorAttachments;
@end

// @doc MTLRenderPassColorAttachmentDescriptor /documentation/Metal/MTLRenderPassColorAttachmentDescriptor macOS 10.11
@interface MTLRenderPassColorAttachmentDescriptor : NSObject
// @doc texture /documentation/Metal/MTLRenderPassAttachmentDescriptor/texture macOS 10.11
@property(nullable, nonatomic, strong) id<MTLTexture> texture;
// @doc loadAction /documentation/Metal/MTLRenderPassAttachmentDescriptor/loadAction macOS 10.11
@property(nonatomic) MTLLoadAction loadAction;
// @doc storeAction /documentation/Metal/MTLRenderPassAttachmentDescriptor/storeAction macOS 10.11
@property(nonatomic) MTLStoreAction storeAction;
// @doc clearColor /documentation/Metal/MTLRenderPassColorAttachmentDescriptor/clearColor macOS 10.11
@property(nonatomic) MTLClearColor clearColor;
@end

// @doc MTLRenderPassColorAttachmentDescriptorArray /documentation/Metal/MTLRenderPassColorAttachmentDescriptorArray macOS 10.11
@interface MTLRenderPassColorAttachmentDescriptorArray : NSObject
// @doc objectAtIndexedSubscript /documentation/Metal/MTLRenderPassColorAttachmentDescriptorArray/subscript(_:) macOS 10.11
- (MTLRenderPassColorAttachmentDescriptor*)objectAtIndexedSubscript:(NSUInteger)attachmentIndex;
@end

// @doc MTLRenderPassDescriptor /documentation/Metal/MTLRenderPassDescriptor macOS 10.11
@interface MTLRenderPassDescriptor : NSObject
// @doc renderPassDescriptor /documentation/Metal/MTLRenderPassDescriptor/init() macOS 10.11
+ (MTLRenderPassDescriptor*)renderPassDescriptor;
// @doc colorAttachments /documentation/Metal/MTLRenderPassDescriptor/colorAttachments macOS 10.11
@property(readonly) MTLRenderPassColorAttachmentDescriptorArray* colorAttachments;
@end

// @doc MTLRenderCommandEncoder /documentation/Metal/MTLRenderCommandEncoder macOS 10.11
@protocol MTLRenderCommandEncoder <NSObject>
// @doc setRenderPipelineState /documentation/Metal/MTLRenderCommandEncoder/setRenderPipelineState(_:) macOS 10.11
- (void)setRenderPipelineState:(id<MTLRenderPipelineState>)pipelineState;
// @doc setViewport /documentation/Metal/MTLRenderCommandEncoder/setViewport(_:) macOS 10.11
- (void)setViewport:(MTLViewport)viewport;
// @doc setFragmentTexture /documentation/Metal/MTLRenderCommandEncoder/setFragmentTexture(_:index:) macOS 10.11
- (void)setFragmentTexture:(nullable id<MTLTexture>)texture atIndex:(NSUInteger)index;
// @doc setFragmentBytes /documentation/Metal/MTLRenderCommandEncoder/setFragmentBytes(_:length:index:) macOS 10.11
- (void)setFragmentBytes:(const void*)bytes length:(NSUInteger)length atIndex:(NSUInteger)index;
// @doc drawPrimitives /documentation/Metal/MTLRenderCommandEncoder/drawPrimitives(type:vertexStart:vertexCount:) macOS 10.11
- (void)drawPrimitives:(MTLPrimitiveType)primitiveType vertexStart:(NSUInteger)vertexStart vertexCount:(NSUInteger)vertexCount;
// @doc endEncoding /documentation/Metal/MTLCommandEncoder/endEncoding() macOS 10.11
- (void)endEncoding;
@end

// @doc MTLBlitCommandEncoder /documentation/Metal/MTLBlitCommandEncoder macOS 10.11
@protocol MTLBlitCommandEncoder <NSObject>
// @doc synchronizeResource /documentation/Metal/MTLBlitCommandEncoder/synchronize(resource:) macOS 10.11
- (void)synchronizeResource:(id<MTLResource>)resource;
// @doc endEncoding /documentation/Metal/MTLCommandEncoder/endEncoding() macOS 10.11
- (void)endEncoding;
@end

@protocol MTLCommandBuffer;
// @doc MTLCommandBufferHandler /documentation/Metal/MTLCommandBufferHandler macOS 10.11
typedef void (^MTLCommandBufferHandler)(id<MTLCommandBuffer>);

// @doc MTLCommandBuffer /documentation/Metal/MTLCommandBuffer macOS 10.11
@protocol MTLCommandBuffer <NSObject>
// @doc renderCommandEncoderWithDescriptor /documentation/Metal/MTLCommandBuffer/makeRenderCommandEncoder(descriptor:) macOS 10.11
- (nullable id<MTLRenderCommandEncoder>)renderCommandEncoderWithDescriptor:(MTLRenderPassDescriptor*)renderPassDescriptor;
// @doc blitCommandEncoder /documentation/Metal/MTLCommandBuffer/makeBlitCommandEncoder() macOS 10.11
- (nullable id<MTLBlitCommandEncoder>)blitCommandEncoder;
// @doc waitUntilCompleted /documentation/Metal/MTLCommandBuffer/waitUntilCompleted() macOS 10.11
- (void)waitUntilCompleted;
// @doc presentDrawable /documentation/Metal/MTLCommandBuffer/present(_:) macOS 10.11
- (void)presentDrawable:(id<MTLDrawable>)drawable;
// @doc addCompletedHandler /documentation/Metal/MTLCommandBuffer/addCompletedHandler(_:) macOS 10.11
- (void)addCompletedHandler:(MTLCommandBufferHandler)block;
// @doc commit /documentation/Metal/MTLCommandBuffer/commit() macOS 10.11
- (void)commit;
// @doc GPUStartTime /documentation/Metal/MTLCommandBuffer/gpuStartTime macOS 10.15
@property(readonly) CFTimeInterval GPUStartTime;
// @doc GPUEndTime /documentation/Metal/MTLCommandBuffer/gpuEndTime macOS 10.15
@property(readonly) CFTimeInterval GPUEndTime;
// @doc error /documentation/Metal/MTLCommandBuffer/error macOS 10.11
@property(nullable, readonly) NSError* error;
@end

// @doc MTLCommandQueue /documentation/Metal/MTLCommandQueue macOS 10.11
@protocol MTLCommandQueue <NSObject>
// @doc commandBuffer /documentation/Metal/MTLCommandQueue/makeCommandBuffer() macOS 10.11
- (nullable id<MTLCommandBuffer>)commandBuffer;
@end

// @doc MTLCompileOptions /documentation/Metal/MTLCompileOptions macOS 10.11
@interface MTLCompileOptions : NSObject
@end

// @doc MTLDevice /documentation/Metal/MTLDevice macOS 10.11
@protocol MTLDevice <NSObject>
// @doc newCommandQueue /documentation/Metal/MTLDevice/makeCommandQueue() macOS 10.11
- (nullable id<MTLCommandQueue>)newCommandQueue;
// @doc newTextureWithDescriptor /documentation/Metal/MTLDevice/makeTexture(descriptor:) macOS 10.11
- (nullable id<MTLTexture>)newTextureWithDescriptor:(MTLTextureDescriptor*)descriptor;
// @doc newLibraryWithSource /documentation/Metal/MTLDevice/makeLibrary(source:options:) macOS 10.11
- (nullable id<MTLLibrary>)newLibraryWithSource:(NSString*)source
                                        options:(nullable MTLCompileOptions*)options
                                          error:(NSError* _Nullable* _Nullable)error;
// @doc newRenderPipelineStateWithDescriptor /documentation/Metal/MTLDevice/makeRenderPipelineState(descriptor:) macOS 10.11
- (nullable id<MTLRenderPipelineState>)newRenderPipelineStateWithDescriptor:(MTLRenderPipelineDescriptor*)descriptor
                                                                      error:(NSError* _Nullable* _Nullable)error;
@end

// @doc MTLCreateSystemDefaultDevice /documentation/Metal/MTLCreateSystemDefaultDevice() macOS 10.11
extern "C" id<MTLDevice> _Nullable MTLCreateSystemDefaultDevice(void) __attribute__((ns_returns_retained));

#pragma clang assume_nonnull end
