#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <Metal/Metal.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma clang assume_nonnull begin

// @doc CVReturn /documentation/CoreVideo/CVReturn
typedef int32_t CVReturn;
enum {
  // @doc kCVReturnSuccess /documentation/CoreVideo/kCVReturnSuccess
  kCVReturnSuccess = 0,
  // @doc kCVReturnInvalidArgument /documentation/CoreVideo/kCVReturnInvalidArgument
  kCVReturnInvalidArgument = -6661,
};

// @doc CVBufferRef /documentation/CoreVideo/CVBuffer
typedef struct __attribute__((objc_bridge(id))) __CVBuffer* CVBufferRef;
// @doc CVImageBufferRef /documentation/CoreVideo/CVImageBuffer
typedef CVBufferRef CVImageBufferRef;
// @doc CVPixelBufferRef /documentation/CoreVideo/CVPixelBuffer
typedef CVImageBufferRef CVPixelBufferRef;

// @doc CVPixelBufferGetWidth /documentation/CoreVideo/CVPixelBufferGetWidth(_:)
size_t CVPixelBufferGetWidth(CVPixelBufferRef pixelBuffer);
// @doc CVPixelBufferGetHeight /documentation/CoreVideo/CVPixelBufferGetHeight(_:)
size_t CVPixelBufferGetHeight(CVPixelBufferRef pixelBuffer);

// @doc CVMetalTextureCacheRef /documentation/CoreVideo/CVMetalTextureCache
typedef struct __attribute__((objc_bridge(id))) __CVMetalTextureCache* CVMetalTextureCacheRef;
// @doc CVMetalTextureRef /documentation/CoreVideo/CVMetalTexture
typedef CVImageBufferRef CVMetalTextureRef;

// @doc CVMetalTextureCacheCreate /documentation/CoreVideo/CVMetalTextureCacheCreate(_:_:_:_:_:)
CVReturn CVMetalTextureCacheCreate(CFAllocatorRef _Nullable allocator, CFDictionaryRef _Nullable cacheAttributes,
                                   id<MTLDevice> metalDevice, CFDictionaryRef _Nullable textureAttributes,
                                   __attribute__((cf_returns_retained)) CVMetalTextureCacheRef _Nullable* _Nonnull cacheOut);
// @doc CVMetalTextureCacheCreateTextureFromImage /documentation/CoreVideo/CVMetalTextureCacheCreateTextureFromImage(_:_:_:_:_:_:_:_:_:)
CVReturn CVMetalTextureCacheCreateTextureFromImage(CFAllocatorRef _Nullable allocator, CVMetalTextureCacheRef textureCache,
                                                   CVImageBufferRef sourceImage, CFDictionaryRef _Nullable textureAttributes,
                                                   MTLPixelFormat pixelFormat, size_t width, size_t height, size_t planeIndex,
                                                   __attribute__((cf_returns_retained)) CVMetalTextureRef _Nullable* _Nonnull textureOut);
// @doc CVMetalTextureGetTexture /documentation/CoreVideo/CVMetalTextureGetTexture(_:)
id<MTLTexture> _Nullable CVMetalTextureGetTexture(CVMetalTextureRef image);

#pragma clang assume_nonnull end

#ifdef __cplusplus
}
#endif
