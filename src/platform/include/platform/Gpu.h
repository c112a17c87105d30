#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Errors.h"
#include "platform/PixelBuffer.h"

namespace turnlet {

// The GPU as the renderer uses it: a device, command queues and buffers, one render pipeline
// built from shader source text, a texture cache that views captured pixel buffers as textures
// without copying, render passes and drawables.
//
// Threads: everything is called on one thread (the main loop) except the handlers, which the
// platform calls on a GPU thread of its own: completed handlers after the buffer ran, then
// presented handlers of the drawables it presented. Objects are shared by reference; a command
// buffer keeps what it uses, its handlers included, alive until they have run, and may release
// them on that thread: a handler captures only what may end on any thread.

class GpuView;

enum class PixelFormat : std::uint32_t { invalid = 0, bgra8Unorm = 80 };
enum class LoadAction : std::uint32_t { dontCare = 0, load = 1, clear = 2 };
enum class StoreAction : std::uint32_t { dontCare = 0, store = 1 };
enum class PrimitiveType : std::uint32_t { point = 0, line = 1, lineStrip = 2, triangle = 3, triangleStrip = 4 };

// Status codes of the texture cache calls; 0 is success.
using TextureCacheStatus = std::int32_t;

struct ClearColor {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;
  friend bool operator==(const ClearColor&, const ClearColor&) = default;
};

struct Viewport {
  double originX = 0;
  double originY = 0;
  double width = 0;   // pixels
  double height = 0;  // pixels
  double znear = 0;
  double zfar = 1;
  friend bool operator==(const Viewport&, const Viewport&) = default;
};

class Texture {
 public:
  virtual ~Texture() = default;
  virtual std::size_t width() const = 0;   // pixels
  virtual std::size_t height() const = 0;  // pixels
  virtual PixelFormat pixelFormat() const = 0;
};

class GpuFunction {
 public:
  virtual ~GpuFunction() = default;
  virtual const std::string& name() const = 0;
};

// Compiled shader source.
class GpuLibrary {
 public:
  virtual ~GpuLibrary() = default;
  // The function of that name, or null if the source defines none.
  virtual std::shared_ptr<GpuFunction> makeFunction(const std::string& name) = 0;
};

struct RenderPipelineDescriptor {
  std::shared_ptr<GpuFunction> vertexFunction;
  std::shared_ptr<GpuFunction> fragmentFunction;
  PixelFormat colorAttachment0Format = PixelFormat::invalid;
  bool blendingEnabled = false;
};

class RenderPipelineState {
 public:
  virtual ~RenderPipelineState() = default;
};

struct RenderPassColorAttachment {
  std::shared_ptr<Texture> texture;
  LoadAction loadAction = LoadAction::dontCare;
  StoreAction storeAction = StoreAction::dontCare;
  ClearColor clearColor;
};

struct RenderPassDescriptor {
  RenderPassColorAttachment colorAttachment0;
};

// Records one render pass into its command buffer; the pass counts once endEncoding() is called.
class RenderCommandEncoder {
 public:
  virtual ~RenderCommandEncoder() = default;
  virtual void setRenderPipelineState(std::shared_ptr<RenderPipelineState> state) = 0;
  virtual void setViewport(const Viewport& viewport) = 0;
  virtual void setFragmentTexture(std::shared_ptr<Texture> texture, std::size_t index) = 0;
  // Copies length bytes; at most 4096.
  virtual void setFragmentBytes(const void* bytes, std::size_t length, std::size_t index) = 0;
  virtual void drawPrimitives(PrimitiveType type, std::size_t vertexStart, std::size_t vertexCount) = 0;
  virtual void endEncoding() = 0;
};

class Drawable {
 public:
  virtual ~Drawable() = default;
  virtual std::shared_ptr<Texture> texture() = 0;
  // Shows the texture as it is now.
  virtual void present() = 0;
  // Called at most once, on a platform thread, once the drawable is on screen; a drawable that is
  // never presented never calls it.
  virtual void addPresentedHandler(std::function<void(Drawable&)> handler) = 0;
};

class CommandBuffer {
 public:
  virtual ~CommandBuffer() = default;
  // Null if the platform cannot encode the pass.
  virtual std::shared_ptr<RenderCommandEncoder> makeRenderCommandEncoder(const RenderPassDescriptor& pass) = 0;
  // Presents the drawable after the buffer has run.
  virtual void present(std::shared_ptr<Drawable> drawable) = 0;
  // Called exactly once, on a GPU thread, after a committed buffer ran or failed; never for a
  // buffer that was not committed.
  virtual void addCompletedHandler(std::function<void(CommandBuffer&)> handler) = 0;
  // Hands the recorded work to the GPU; runs later, off the calling thread.
  virtual void commit() = 0;
  // Valid in completed handlers: when the GPU started and finished the buffer (seconds, system
  // uptime), and the error that stopped it, if any.
  virtual double gpuStartTime() const = 0;
  virtual double gpuEndTime() const = 0;
  virtual std::optional<PlatformError> error() const = 0;
};

class CommandQueue {
 public:
  virtual ~CommandQueue() = default;
  // Null if none is available right now.
  virtual std::shared_ptr<CommandBuffer> makeCommandBuffer() = 0;
};

// A pixel buffer viewed as a texture; keeps the pixel buffer alive.
class CaptureTexture {
 public:
  virtual ~CaptureTexture() = default;
  // The wrapped texture; may be missing.
  virtual std::shared_ptr<Texture> texture() = 0;
};

template <typename T>
struct TextureCacheResult {
  TextureCacheStatus status = 0;
  std::shared_ptr<T> object;  // may be null even with status 0
};

class TextureCache {
 public:
  virtual ~TextureCache() = default;
  // Views plane `plane` of the buffer as a texture of that format and size; no pixel is copied.
  virtual TextureCacheResult<CaptureTexture> textureFromImage(std::shared_ptr<PixelBuffer> buffer, PixelFormat format,
                                                              std::size_t width, std::size_t height,
                                                              std::size_t plane) = 0;
};

class GpuDevice {
 public:
  virtual ~GpuDevice() = default;
  // Null if the device cannot make one.
  virtual std::shared_ptr<CommandQueue> makeCommandQueue() = 0;
  // Compiles shader source text; throws the platform's PlatformError if it does not compile.
  virtual std::shared_ptr<GpuLibrary> makeLibrary(const std::string& source) = 0;
  // Throws the platform's PlatformError if the state cannot be built (a function missing, say).
  virtual std::shared_ptr<RenderPipelineState> makeRenderPipelineState(const RenderPipelineDescriptor& descriptor) = 0;
  virtual TextureCacheResult<TextureCache> makeTextureCache() = 0;
  // A BGRA8 texture of that size that a pass can render into and readPixel() can read back; null
  // if the device cannot make one.
  virtual std::shared_ptr<Texture> makeReadableTexture(std::size_t width, std::size_t height) = 0;
  // The pixel at (x, y) of a texture makeReadableTexture() made, as 0xAARRGGBB, once every command
  // buffer that draws into it has completed; absent outside the texture or for another texture.
  // Waits for the GPU: for checks, not for frames.
  virtual std::optional<std::uint32_t> readPixel(const std::shared_ptr<Texture>& texture, std::size_t x,
                                                 std::size_t y) = 0;
};

class Gpu {
 public:
  virtual ~Gpu() = default;
  // The system's default device; null on a machine without one.
  virtual std::shared_ptr<GpuDevice> defaultDevice() = 0;
  // A new view with a zero frame that draws with the device, in no window yet (GpuView.h); the
  // caller owns it.
  virtual std::shared_ptr<GpuView> makeView(std::shared_ptr<GpuDevice> device) = 0;
};

}  // namespace turnlet
