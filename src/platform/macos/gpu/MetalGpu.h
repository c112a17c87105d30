#pragma once

#import <Metal/Metal.h>
#import <QuartzCore/QuartzCore.h>

#include <memory>

#include "macos/gpu/ResourcesInFlight.h"
#include "platform/Gpu.h"

namespace turnlet::macos {

// The GPU over Metal: the system's default device, shader source compiled at run time, the render
// pipeline, command queues and buffers, and a CoreVideo texture cache that views captured pixel
// buffers as textures without a copy. Main loop only, except the handlers (GPU threads).
//
// A command buffer keeps every texture, captured frame and drawable its passes read until it has
// completed (ResourcesInFlight), then lets go of them on the GPU's thread: a texture made by the
// texture cache reads the frame's memory only while its cache object lives, which Metal does
// not hold.

// A Metal texture, with what keeps its memory valid (a cache texture object and its pixel buffer).
class MetalTexture final : public Texture {
 public:
  MetalTexture(id<MTLTexture> _Nonnull texture, std::shared_ptr<const void> backing)
      : texture(texture), backing(std::move(backing)) {}
  std::size_t width() const override { return texture.width; }
  std::size_t height() const override { return texture.height; }
  PixelFormat pixelFormat() const override { return static_cast<PixelFormat>(texture.pixelFormat); }

  __strong id<MTLTexture> _Nonnull texture;
  std::shared_ptr<const void> backing;
};

// A drawable of a Metal layer.
class MetalDrawable final : public Drawable {
 public:
  explicit MetalDrawable(id<CAMetalDrawable> _Nonnull drawable) : drawable(drawable) {}
  std::shared_ptr<Texture> texture() override;
  void present() override;
  void addPresentedHandler(std::function<void(Drawable&)> handler) override;

  __strong id<CAMetalDrawable> _Nonnull drawable;

 private:
  std::shared_ptr<Texture> wrapped;
};

class MetalDevice final : public GpuDevice {
 public:
  explicit MetalDevice(id<MTLDevice> _Nonnull device) : device(device) {}
  std::shared_ptr<CommandQueue> makeCommandQueue() override;
  std::shared_ptr<GpuLibrary> makeLibrary(const std::string& source) override;
  std::shared_ptr<RenderPipelineState> makeRenderPipelineState(const RenderPipelineDescriptor& descriptor) override;
  TextureCacheResult<TextureCache> makeTextureCache() override;
  std::shared_ptr<Texture> makeReadableTexture(std::size_t width, std::size_t height) override;
  std::optional<std::uint32_t> readPixel(const std::shared_ptr<Texture>& texture, std::size_t x, std::size_t y) override;

  __strong id<MTLDevice> _Nonnull device;
};

class MetalGpu final : public Gpu {
 public:
  std::shared_ptr<GpuDevice> defaultDevice() override;
  std::shared_ptr<GpuView> makeView(std::shared_ptr<GpuDevice> device) override;
};

}  // namespace turnlet::macos
