#import "macos/gpu/MetalGpu.h"

#import <CoreFoundation/CoreFoundation.h>
#import <CoreVideo/CoreVideo.h>
#import <Foundation/Foundation.h>

#include <string>
#include <utility>

#include "macos/bridge/CFRef.h"
#include "macos/capture/CoreVideoPixelBuffer.h"
#include "macos/bridge/ErrorBridge.h"
#include "macos/bridge/PlatformEntry.h"
#include "macos/gpu/MetalKitView.h"
#include "macos/bridge/TextBridge.h"

namespace turnlet::macos {

static_assert(static_cast<std::uint32_t>(PixelFormat::bgra8Unorm) == MTLPixelFormatBGRA8Unorm);
static_assert(static_cast<std::uint32_t>(LoadAction::clear) == MTLLoadActionClear);
static_assert(static_cast<std::uint32_t>(StoreAction::store) == MTLStoreActionStore);
static_assert(static_cast<std::uint32_t>(PrimitiveType::triangle) == MTLPrimitiveTypeTriangle);
static_assert(kCVReturnSuccess == 0);

namespace {

const char* const gpuDomain = "local.turnlet.gpu";

class MetalFunction final : public GpuFunction {
 public:
  MetalFunction(id<MTLFunction> _Nonnull function, std::string name) : function(function), functionName(std::move(name)) {}
  const std::string& name() const override { return functionName; }
  __strong id<MTLFunction> _Nonnull function;

 private:
  std::string functionName;
};

class MetalLibrary final : public GpuLibrary {
 public:
  explicit MetalLibrary(id<MTLLibrary> _Nonnull library) : library(library) {}
  std::shared_ptr<GpuFunction> makeFunction(const std::string& name) override {
    id<MTLFunction> function = [library newFunctionWithName:makeNSString(name)];
    if (!function) return nullptr;
    return std::make_shared<MetalFunction>(function, name);
  }

 private:
  __strong id<MTLLibrary> _Nonnull library;
};

class MetalPipelineState final : public RenderPipelineState {
 public:
  explicit MetalPipelineState(id<MTLRenderPipelineState> _Nonnull state) : state(state) {}
  __strong id<MTLRenderPipelineState> _Nonnull state;
};

// A captured frame seen through the texture cache: the cache's texture object and the frame's
// pixel buffer, which together keep the memory the texture reads.
struct CaptureBacking final {
  CFRef<CVMetalTextureRef> texture;
  std::shared_ptr<PixelBuffer> frame;
};

class MetalCaptureTexture final : public CaptureTexture {
 public:
  explicit MetalCaptureTexture(std::shared_ptr<const CaptureBacking> backing) : backing(std::move(backing)) {}
  std::shared_ptr<Texture> texture() override {
    id<MTLTexture> texture = CVMetalTextureGetTexture(backing->texture.get());
    if (!texture) return nullptr;
    return std::make_shared<MetalTexture>(texture, backing);
  }

 private:
  std::shared_ptr<const CaptureBacking> backing;
};

class MetalTextureCache final : public TextureCache {
 public:
  explicit MetalTextureCache(CFRef<CVMetalTextureCacheRef> cache) : cache(std::move(cache)) {}
  TextureCacheResult<CaptureTexture> textureFromImage(std::shared_ptr<PixelBuffer> buffer, PixelFormat format, std::size_t width,
                                                      std::size_t height, std::size_t plane) override {
    auto* frame = dynamic_cast<CoreVideoPixelBuffer*>(buffer.get());
    if (!frame) return {kCVReturnInvalidArgument, nullptr};
    CVMetalTextureRef made = nullptr;
    const CVReturn status = CVMetalTextureCacheCreateTextureFromImage(kCFAllocatorDefault, cache.get(), frame->get(), nullptr,
                                                                      static_cast<MTLPixelFormat>(format), width, height, plane, &made);
    auto texture = CFRef<CVMetalTextureRef>::adopt(made);
    if (status != kCVReturnSuccess || !texture) return {status, nullptr};
    auto backing = std::make_shared<const CaptureBacking>(CaptureBacking{std::move(texture), std::move(buffer)});
    return {status, std::make_shared<MetalCaptureTexture>(std::move(backing))};
  }

 private:
  CFRef<CVMetalTextureCacheRef> cache;
};

id<MTLTexture> _Nullable metalTexture(const std::shared_ptr<Texture>& texture) {
  auto* metal = dynamic_cast<MetalTexture*>(texture.get());
  return metal ? metal->texture : nil;
}

class MetalEncoder final : public RenderCommandEncoder {
 public:
  MetalEncoder(id<MTLRenderCommandEncoder> _Nonnull encoder, std::shared_ptr<ResourcesInFlight> resources)
      : encoder(encoder), resources(std::move(resources)) {}

  void setRenderPipelineState(std::shared_ptr<RenderPipelineState> state) override {
    auto* metal = dynamic_cast<MetalPipelineState*>(state.get());
    if (metal) [encoder setRenderPipelineState:metal->state];
  }
  void setViewport(const Viewport& v) override {
    [encoder setViewport:MTLViewport{v.originX, v.originY, v.width, v.height, v.znear, v.zfar}];
  }
  void setFragmentTexture(std::shared_ptr<Texture> texture, std::size_t index) override {
    [encoder setFragmentTexture:metalTexture(texture) atIndex:index];
    resources->keep(std::move(texture));
  }
  void setFragmentBytes(const void* bytes, std::size_t length, std::size_t index) override {
    [encoder setFragmentBytes:bytes length:length atIndex:index];
  }
  void drawPrimitives(PrimitiveType type, std::size_t vertexStart, std::size_t vertexCount) override {
    [encoder drawPrimitives:static_cast<MTLPrimitiveType>(type) vertexStart:vertexStart vertexCount:vertexCount];
  }
  void endEncoding() override { [encoder endEncoding]; }

 private:
  __strong id<MTLRenderCommandEncoder> _Nonnull encoder;
  std::shared_ptr<ResourcesInFlight> resources;
};

class MetalCommandBuffer final : public CommandBuffer {
 public:
  MetalCommandBuffer(id<MTLCommandBuffer> _Nonnull buffer, std::shared_ptr<ResourcesInFlight> resources)
      : buffer(buffer), resources(std::move(resources)) {}

  std::shared_ptr<RenderCommandEncoder> makeRenderCommandEncoder(const RenderPassDescriptor& pass) override {
    MTLRenderPassDescriptor* descriptor = [MTLRenderPassDescriptor renderPassDescriptor];
    MTLRenderPassColorAttachmentDescriptor* color = [descriptor.colorAttachments objectAtIndexedSubscript:0];
    const RenderPassColorAttachment& a = pass.colorAttachment0;
    color.texture = metalTexture(a.texture);
    color.loadAction = static_cast<MTLLoadAction>(a.loadAction);
    color.storeAction = static_cast<MTLStoreAction>(a.storeAction);
    color.clearColor = MTLClearColorMake(a.clearColor.red, a.clearColor.green, a.clearColor.blue, a.clearColor.alpha);
    id<MTLRenderCommandEncoder> encoder = [buffer renderCommandEncoderWithDescriptor:descriptor];
    if (!encoder) return nullptr;
    if (resources) resources->keep(a.texture);
    return std::make_shared<MetalEncoder>(encoder, resources);
  }

  void present(std::shared_ptr<Drawable> drawable) override {
    auto* metal = dynamic_cast<MetalDrawable*>(drawable.get());
    if (!metal) return;
    [buffer presentDrawable:metal->drawable];
    if (resources) resources->keep(std::move(drawable));
  }

  void addCompletedHandler(std::function<void(CommandBuffer&)> handler) override {
    // The handler reads the finished buffer through a wrapper of its own, made on the GPU's
    // thread: the program's wrapper may be gone by then.
    [buffer addCompletedHandler:^(id<MTLCommandBuffer> _Nonnull finished) {
      @autoreleasepool {
        ranWithoutException(EntryThread::either, [&] {
          MetalCommandBuffer seen(finished, nullptr);
          handler(seen);
        });
      }
    }];
  }

  void commit() override {
    // Added last, so it runs after the program's handlers: what the passes read ends here.
    std::shared_ptr<ResourcesInFlight> kept = resources;
    [buffer addCompletedHandler:^(id<MTLCommandBuffer> _Nonnull) {
      ranWithoutException(EntryThread::either, [&] {
        if (kept) kept->complete();
      });
    }];
    [buffer commit];
  }

  double gpuStartTime() const override { return buffer.GPUStartTime; }
  double gpuEndTime() const override { return buffer.GPUEndTime; }
  std::optional<PlatformError> error() const override {
    if (NSError* reported = buffer.error) return platformError(reported);
    return std::nullopt;
  }

 private:
  __strong id<MTLCommandBuffer> _Nonnull buffer;
  std::shared_ptr<ResourcesInFlight> resources;  // null in a completed handler's view
};

class MetalCommandQueue final : public CommandQueue {
 public:
  explicit MetalCommandQueue(id<MTLCommandQueue> _Nonnull queue) : queue(queue) {}
  std::shared_ptr<CommandBuffer> makeCommandBuffer() override {
    id<MTLCommandBuffer> buffer = [queue commandBuffer];
    if (!buffer) return nullptr;
    return std::make_shared<MetalCommandBuffer>(buffer, std::make_shared<ResourcesInFlight>());
  }

 private:
  __strong id<MTLCommandQueue> _Nonnull queue;
};

id<MTLFunction> _Nullable metalFunction(const std::shared_ptr<GpuFunction>& function) {
  auto* metal = dynamic_cast<MetalFunction*>(function.get());
  return metal ? metal->function : nil;
}

}  // namespace

std::shared_ptr<Texture> MetalDrawable::texture() {
  if (!wrapped) wrapped = std::make_shared<MetalTexture>(drawable.texture, nullptr);
  return wrapped;
}

void MetalDrawable::present() { [drawable present]; }

void MetalDrawable::addPresentedHandler(std::function<void(Drawable&)> handler) {
  // As for command buffers: a wrapper of the presented drawable, made where the handler runs.
  [drawable addPresentedHandler:^(id<MTLDrawable> _Nonnull presented) {
    @autoreleasepool {
      ranWithoutException(EntryThread::either, [&] {
        MetalDrawable seen((id<CAMetalDrawable>)presented);
        handler(seen);
      });
    }
  }];
}

std::shared_ptr<CommandQueue> MetalDevice::makeCommandQueue() {
  id<MTLCommandQueue> queue = [device newCommandQueue];
  if (!queue) return nullptr;
  return std::make_shared<MetalCommandQueue>(queue);
}

std::shared_ptr<GpuLibrary> MetalDevice::makeLibrary(const std::string& source) {
  NSError* error = nil;
  id<MTLLibrary> library = [device newLibraryWithSource:makeNSString(source) options:nil error:&error];
  if (!library) throw error ? platformError(error) : PlatformError(gpuDomain, 1, "The shader source did not compile.");
  return std::make_shared<MetalLibrary>(library);
}

std::shared_ptr<RenderPipelineState> MetalDevice::makeRenderPipelineState(const RenderPipelineDescriptor& descriptor) {
  id<MTLFunction> vertex = metalFunction(descriptor.vertexFunction);
  id<MTLFunction> fragment = metalFunction(descriptor.fragmentFunction);
  if (!vertex || !fragment) throw PlatformError(gpuDomain, 2, "The render pipeline lacks its vertex or fragment function.");
  MTLRenderPipelineDescriptor* d = [[MTLRenderPipelineDescriptor alloc] init];
  d.vertexFunction = vertex;
  d.fragmentFunction = fragment;
  MTLRenderPipelineColorAttachmentDescriptor* color = [d.colorAttachments objectAtIndexedSubscript:0];
  color.pixelFormat = static_cast<MTLPixelFormat>(descriptor.colorAttachment0Format);
  color.blendingEnabled = descriptor.blendingEnabled;
  NSError* error = nil;
  id<MTLRenderPipelineState> state = [device newRenderPipelineStateWithDescriptor:d error:&error];
  if (!state) throw error ? platformError(error) : PlatformError(gpuDomain, 3, "The render pipeline could not be built.");
  return std::make_shared<MetalPipelineState>(state);
}

TextureCacheResult<TextureCache> MetalDevice::makeTextureCache() {
  CVMetalTextureCacheRef made = nullptr;
  const CVReturn status = CVMetalTextureCacheCreate(kCFAllocatorDefault, nullptr, device, nullptr, &made);
  auto cache = CFRef<CVMetalTextureCacheRef>::adopt(made);
  if (status != kCVReturnSuccess || !cache) return {status, nullptr};
  return {status, std::make_shared<MetalTextureCache>(std::move(cache))};
}

std::shared_ptr<Texture> MetalDevice::makeReadableTexture(std::size_t width, std::size_t height) {
  MTLTextureDescriptor* descriptor = [MTLTextureDescriptor texture2DDescriptorWithPixelFormat:MTLPixelFormatBGRA8Unorm
                                                                                       width:width
                                                                                      height:height
                                                                                   mipmapped:false];
  descriptor.usage = MTLTextureUsageRenderTarget | MTLTextureUsageShaderRead;
  // Managed: the CPU reads it once a blit has synchronized it (on Apple silicon that costs nothing).
  descriptor.storageMode = MTLStorageModeManaged;
  id<MTLTexture> texture = [device newTextureWithDescriptor:descriptor];
  if (!texture) return nullptr;
  return std::make_shared<MetalTexture>(texture, nullptr);
}

std::optional<std::uint32_t> MetalDevice::readPixel(const std::shared_ptr<Texture>& texture, std::size_t x,
                                                    std::size_t y) {
  id<MTLTexture> metal = metalTexture(texture);
  if (!metal || x >= metal.width || y >= metal.height) return std::nullopt;
  id<MTLCommandQueue> queue = [device newCommandQueue];
  id<MTLCommandBuffer> buffer = queue ? [queue commandBuffer] : nil;
  id<MTLBlitCommandEncoder> blit = buffer ? [buffer blitCommandEncoder] : nil;
  if (!blit) return std::nullopt;
  [blit synchronizeResource:metal];
  [blit endEncoding];
  [buffer commit];
  [buffer waitUntilCompleted];
  std::uint32_t pixel = 0;  // B, G, R, A in memory: 0xAARRGGBB on a little-endian Mac
  [metal getBytes:&pixel bytesPerRow:4 fromRegion:MTLRegionMake2D(x, y, 1, 1) mipmapLevel:0];
  return pixel;
}

std::shared_ptr<GpuDevice> MetalGpu::defaultDevice() {
  id<MTLDevice> device = MTLCreateSystemDefaultDevice();
  if (!device) return nullptr;
  return std::make_shared<MetalDevice>(device);
}

std::shared_ptr<GpuView> MetalGpu::makeView(std::shared_ptr<GpuDevice> device) {
  auto* metal = dynamic_cast<MetalDevice*>(device.get());
  return std::make_shared<MetalKitView>(metal ? metal->device : nil);
}

}  // namespace turnlet::macos
