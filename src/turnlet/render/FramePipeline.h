#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "display/QuarterTurn.h"
#include "platform/Gpu.h"
#include "platform/PixelBuffer.h"

namespace turnlet {

// The GPU objects that turn one captured frame of the virtual display into one rotated,
// letterboxed image in a target texture: the default device, one command queue, the rotation
// program's pipeline state and a texture cache that views captured pixel buffers as textures.
//
// Built once, on the main loop, by the screen renderer that owns it; encode() runs on the main
// loop only and never concurrently with itself. Everything is released with the object.
class FramePipeline {
 public:
  // The block handed inline to the fragment stage: 20 bytes, no padding.
  struct Parameters {
    std::uint32_t sw;     // source width, pixels
    std::uint32_t sh;     // source height, pixels
    std::uint32_t dw;     // target width, pixels
    std::uint32_t dh;     // target height, pixels
    std::uint32_t turns;  // quarter turns: 0 normal, 1 right, 2 inverted, 3 left
  };
  static_assert(sizeof(Parameters) == 20);

  // Throws AppFailure "Metal is unavailable on this Mac." without a device or command queue,
  // "Could not create a shared capture texture (<status>)." without a texture cache, and passes
  // on unchanged the platform's error from compiling the program or building its state.
  explicit FramePipeline(Gpu& gpu);

  // Records one render pass into `command` that draws `frame` turned by `rotation` into `target`
  // (BGRA8), fitted and letterboxed in black. Neither commits nor presents. Returns the texture
  // view of the frame, which the caller keeps, with the frame, until the command buffer has
  // completed. Throws AppFailure "Could not read a captured frame as a Metal texture (<status>)."
  // or "Could not encode the rotated frame."; then nothing usable was recorded.
  std::shared_ptr<CaptureTexture> encode(const std::shared_ptr<PixelBuffer>& frame, QuarterTurn rotation,
                                         const std::shared_ptr<Texture>& target, CommandBuffer& command);

  const std::shared_ptr<GpuDevice>& device() const { return gpuDevice; }
  const std::shared_ptr<CommandQueue>& commandQueue() const { return queue; }
  const std::shared_ptr<RenderPipelineState>& state() const { return pipelineState; }
  const std::shared_ptr<TextureCache>& textureCache() const { return cache; }

  // The rotation program in the platform's shading language: vertex stage `fullscreenTriangle`,
  // fragment stage `rotateFrame`.
  static const std::string& shaderSource();

 private:
  std::shared_ptr<GpuDevice> gpuDevice;
  std::shared_ptr<CommandQueue> queue;
  std::shared_ptr<RenderPipelineState> pipelineState;
  std::shared_ptr<TextureCache> cache;
};

}  // namespace turnlet
