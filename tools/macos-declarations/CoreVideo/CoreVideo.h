#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <Metal/Metal.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma clang assume_nonnull begin

// @doc CVReturn /documentation/CoreVideo/CVReturn macOS 10.4
typedef int32_t CVReturn;
enum {
  // @doc kCVReturnSuccess /documentation/CoreVideo/kCVReturnSuccess macOS 10.4
  kCVReturnSuccess = 0,
  // @doc kCVReturnInvalidArgument /documentation/CoreVideo/kCVReturnInvalidArgument macOS 10.4
  kCVReturnInvalidArgument = -6661,
};

// @doc CVBufferRef /documentation/CoreVideo/CVBuffer macOS 10.4
typedef struct __attribute__((objc_bridge(id))) __CVBuffer* CVBufferRef;
// @doc CVImageBufferRef /documentation/CoreVideo/CVImageBuffer macOS 10.4
typedef CVBufferRef CVImageBufferRef;
// @doc CVPixelBufferRef /documentation/CoreVideo/CVPixelBuffer macOS 10.4
typedef CVImageBufferRef CVPixelBufferRef;

// @doc CVPixelBufferGetWidth /documentation/CoreVideo/CVPixelBufferGetWidth(_:) macOS 10.4
size_t CVPixelBufferGetWidth(CVPixelBufferRef pixelBuffer);
// @doc CVPixelBufferGetHeight /documentation/CoreVideo/CVPixelBufferGetHeight(_:) macOS 10.4
size_t CVPixelBufferGetHeight(CVPixelBufferRef pixelBuffer);

// @doc CVMetalTextureCacheRef /documentation/CoreVideo/CVMetalTextureCache macOS 10.11
typedef struct __attribute__((objc_bridge(id))) __CVMetalTextureCache* CVMetalTextureCacheRef;
// @doc CVMetalTextureRef /documentation/CoreVideo/CVMetalTexture macOS 10.11
typedef CVImageBufferRef CVMetalTextureRef;

// @doc CVMetalTextureCacheCreate /documentation/CoreVideo/CVMetalTextureCacheCreate(_:_:_:_:_:) macOS 10.11
CVReturn CVMetalTextureCacheCreate(CFAllocatorRef _Nullable allocator, CFDictionaryRef _Nullable cacheAttributes,
                                   id<MTLDevice> metalDevice, CFDictionaryRef _Nullable textureAttributes,
                                   __attribute__((cf_returns_retained)) CVMetalTextureCacheRef _Nullable* _Nonnull cacheOut);
// @doc CVMetalTextureCacheCreateTextureFromImage /documentation/CoreVideo/CVMetalTextureCacheCreateTextureFromImage(_:_:_:_:_:_:_:_:_:) macOS 10.11
CVReturn CVMetalTextureCacheCreateTextureFromImage(CFAllocatorRef _Nullable allocator, CVMetalTextureCacheRef textureCache,
                                                   CVImageBufferRef sourceImage, CFDictionaryRef _Nullable textureAttributes,
                                                   MTLPixelFormat pixelFormat, size_t width, size_t height, size_t planeIndex,
                                                   __attribute__((cf_returns_retained)) CVMetalTextureRef _Nullable* _Nonnull textureOut);
// @doc CVMetalTextureGetTexture /documentation/CoreVideo/CVMetalTextureGetTexture(_:) macOS 10.11
id<MTLTexture> _Nullable CVMetalTextureGetTexture(CVMetalTextureRef image);

#pragma clang assume_nonnull end

#ifdef __cplusplus
}
#endif
