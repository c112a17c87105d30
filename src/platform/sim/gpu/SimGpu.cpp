#include "sim/gpu/SimGpu.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <regex>
#include <set>
#include <utility>

#include "sim/system/ManualSerialQueue.h"
#include "sim/gpu/SimGpuView.h"
#include "sim/gpu/RotateFrameKernel.h"

namespace turnlet::sim {

namespace {

constexpr TextureCacheStatus invalidArgument = -6661;  // the texture cache's "invalid argument"
constexpr std::size_t maxFragmentBytes = 4096;
const char* const libraryDomain = "MTLLibraryErrorDomain";
const char* const pipelineDomain = "MTLRenderPipelineErrorDomain";
const char* const commandBufferDomain = "MTLCommandBufferErrorDomain";

// The shader stages this GPU can run natively.
const std::string fullscreenTriangle = "fullscreenTriangle";
const std::string rotateFrame = "rotateFrame";

enum class Stage { vertex, fragment };

class SimFunction : public GpuFunction {
 public:
  SimFunction(std::string name, Stage stage) : functionName(std::move(name)), stage(stage) {}
  const std::string& name() const override { return functionName; }
  std::string functionName;
  Stage stage;
};

class SimLibrary : public GpuLibrary {
 public:
  explicit SimLibrary(std::vector<SimFunction> declared) : declared(std::move(declared)) {}
  std::shared_ptr<GpuFunction> makeFunction(const std::string& name) override {
    for (const auto& f : declared)
      if (f.functionName == name) return std::make_shared<SimFunction>(f);
    return nullptr;
  }

 private:
  std::vector<SimFunction> declared;
};

class SimPipelineState : public RenderPipelineState {};

// A pass as the command buffer runs it.
struct EncodedPass {
  RenderPassDescriptor pass;
  bool pipelineSet = false;
  std::optional<Viewport> viewport;
  std::shared_ptr<Texture> fragmentTexture;
  std::vector<std::uint8_t> fragmentBytes;
  std::vector<RecordedPass::Draw> draws;
};

RecordedPass observed(const EncodedPass& e) {
  RecordedPass r;
  r.target = e.pass.colorAttachment0.texture;
  r.loadAction = e.pass.colorAttachment0.loadAction;
  r.storeAction = e.pass.colorAttachment0.storeAction;
  r.clearColor = e.pass.colorAttachment0.clearColor;
  r.pipelineSet = e.pipelineSet;
  r.viewport = e.viewport;
  r.fragmentTexture = e.fragmentTexture;
  r.fragmentBytes = e.fragmentBytes;
  r.draws = e.draws;
  return r;
}

class SimCaptureTexture : public CaptureTexture {
 public:
  explicit SimCaptureTexture(std::shared_ptr<SimTexture> wrapped) : wrapped(std::move(wrapped)) {}
  std::shared_ptr<Texture> texture() override { return wrapped; }

 private:
  std::shared_ptr<SimTexture> wrapped;
};

class SimTextureCache : public TextureCache {
 public:
  explicit SimTextureCache(SimGpu& gpu) : gpu(gpu) {}
  TextureCacheResult<CaptureTexture> textureFromImage(std::shared_ptr<PixelBuffer> buffer, PixelFormat format,
                                                      std::size_t width, std::size_t height,
                                                      std::size_t plane) override {
    if (gpu.textureStatus) return {*gpu.textureStatus, nullptr};
    // Only the simulation's own buffers can be viewed, as a platform views only its own.
    auto memory = std::dynamic_pointer_cast<MemoryPixelBuffer>(buffer);
    if (!memory || format != PixelFormat::bgra8Unorm || plane != 0 || width == 0 || height == 0 ||
        width != buffer->width() || height != buffer->height())
      return {invalidArgument, nullptr};
    if (gpu.captureTextureMissing) return {0, nullptr};
    auto texture = gpu.wrappedTextureMissing ? nullptr : std::make_shared<SimTexture>(std::move(memory), format);
    return {0, std::make_shared<SimCaptureTexture>(std::move(texture))};
  }

 private:
  SimGpu& gpu;
};

}  // namespace

// ---- textures and drawables ---------------------------------------------------------------

SimTexture::SimTexture(std::shared_ptr<MemoryPixelBuffer> storage, PixelFormat format)
    : storage(std::move(storage)), format(format) {}

std::uint32_t SimTexture::pixel(std::size_t x, std::size_t y) const {
  std::uint32_t v;
  std::memcpy(&v, storage->baseAddress() + y * storage->bytesPerRow() + x * 4, 4);
  return v;
}

void SimDrawable::present() {
  std::vector<std::function<void(Drawable&)>> toCall;
  {
    std::lock_guard lock(mutex);
    toCall.swap(handlers);
  }
  presents.fetch_add(1);
  for (auto& handler : toCall) handler(*this);
}

void SimDrawable::addPresentedHandler(std::function<void(Drawable&)> handler) {
  std::lock_guard lock(mutex);
  handlers.push_back(std::move(handler));
}

// ---- command buffers ----------------------------------------------------------------------

class SimCommandBuffer : public CommandBuffer, public std::enable_shared_from_this<SimCommandBuffer> {
 public:
  SimCommandBuffer(SimGpu& gpu, std::shared_ptr<RotateFrameKernel> kernel) : gpu(gpu), kernel(std::move(kernel)) {}

  std::shared_ptr<RenderCommandEncoder> makeRenderCommandEncoder(const RenderPassDescriptor& pass) override;
  void present(std::shared_ptr<Drawable> drawable) override { drawables.push_back(std::move(drawable)); }
  void addCompletedHandler(std::function<void(CommandBuffer&)> handler) override {
    handlers.push_back(std::move(handler));
  }
  void commit() override;
  double gpuStartTime() const override { return startTime; }
  double gpuEndTime() const override { return endTime; }
  std::optional<PlatformError> error() const override { return failure; }

  void record(EncodedPass pass) { recorded.push_back(std::move(pass)); }
  // On the GPU worker: runs the passes, then the completed handlers, then presents.
  void execute();

 private:
  void runPass(const EncodedPass& pass);

  SimGpu& gpu;
  std::shared_ptr<RotateFrameKernel> kernel;
  std::vector<EncodedPass> recorded;
  std::vector<std::shared_ptr<Drawable>> drawables;
  std::vector<std::function<void(CommandBuffer&)>> handlers;
  bool committed = false;
  std::optional<PlatformError> injected;  // the execution fault when it was committed
  double duration = 0;
  double startTime = 0;
  double endTime = 0;
  std::optional<PlatformError> failure;
};

class SimRenderEncoder : public RenderCommandEncoder {
 public:
  SimRenderEncoder(SimGpu& gpu, std::shared_ptr<SimCommandBuffer> buffer, const RenderPassDescriptor& pass)
      : gpu(gpu), buffer(std::move(buffer)) {
    recorded.pass = pass;
  }
  void setRenderPipelineState(std::shared_ptr<RenderPipelineState> state) override {
    recorded.pipelineSet = std::dynamic_pointer_cast<SimPipelineState>(state) != nullptr;
  }
  void setViewport(const Viewport& viewport) override { recorded.viewport = viewport; }
  void setFragmentTexture(std::shared_ptr<Texture> texture, std::size_t index) override {
    if (index == 0) recorded.fragmentTexture = std::move(texture);
  }
  void setFragmentBytes(const void* bytes, std::size_t length, std::size_t index) override {
    if (index != 0) return;
    length = std::min(length, maxFragmentBytes);
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    recorded.fragmentBytes.assign(first, first + length);
  }
  void drawPrimitives(PrimitiveType type, std::size_t vertexStart, std::size_t vertexCount) override {
    recorded.draws.push_back({type, vertexStart, vertexCount});
  }
  void endEncoding() override {
    if (ended) return;
    ended = true;
    gpu.passes.push_back(observed(recorded));
    if (gpu.passes.size() > SimGpu::recordedPassLimit) gpu.passes.pop_front();
    buffer->record(std::move(recorded));
  }

 private:
  SimGpu& gpu;
  std::shared_ptr<SimCommandBuffer> buffer;
  EncodedPass recorded;
  bool ended = false;
};

std::shared_ptr<RenderCommandEncoder> SimCommandBuffer::makeRenderCommandEncoder(const RenderPassDescriptor& pass) {
  if (gpu.renderEncoderThrows) throw std::bad_alloc();
  if (gpu.renderEncoderMissing || committed) return nullptr;
  return std::make_shared<SimRenderEncoder>(gpu, shared_from_this(), pass);
}

void SimCommandBuffer::commit() {
  if (committed) return;
  committed = true;
  ++gpu.commits;
  const int now = gpu.inFlight.fetch_add(1) + 1;
  for (int seen = gpu.maxInFlight.load(); now > seen && !gpu.maxInFlight.compare_exchange_weak(seen, now);) {
  }
  injected = gpu.executionError;
  duration = gpu.passDurationSeconds;
  double delay = 0;
  {
    std::lock_guard lock(gpu.pendingMutex);
    gpu.pending.push_back(shared_from_this());
    if (gpu.lagSeconds > 0) {
      const double now = gpu.clock.now();
      gpu.lastTurnAt = std::max(gpu.lastTurnAt, now) + gpu.lagSeconds;
      delay = gpu.lastTurnAt - now;
    }
  }
  if (delay > 0) return gpu.worker->asyncAfter(delay, [&gpu = gpu] { gpu.runNextCommandBuffer(); });
  gpu.worker->async([&gpu = gpu] { gpu.runNextCommandBuffer(); });
}

void SimCommandBuffer::execute() {
  startTime = gpu.clock.now();
  try {
    if (injected) throw *injected;
    for (const auto& pass : recorded) runPass(pass);
  } catch (const PlatformError& e) {
    failure = e;
  }
  endTime = std::max(gpu.clock.now(), startTime + duration);
  gpu.inFlight.fetch_sub(1);
  for (auto& handler : handlers) handler(*this);
  handlers.clear();
  if (!failure)
    for (auto& drawable : drawables) drawable->present();
  drawables.clear();
  recorded.clear();
}

void SimCommandBuffer::runPass(const EncodedPass& pass) {
  auto fault = [](std::string what) { return PlatformError(commandBufferDomain, 1, std::move(what)); };
  const auto& attachment = pass.pass.colorAttachment0;
  auto target = std::dynamic_pointer_cast<SimTexture>(attachment.texture);
  if (!target) throw fault("Render pass without a colour attachment texture.");
  MemoryPixelBuffer& targetPixels = target->pixels();
  const MutableImage image{targetPixels.baseAddress(), targetPixels.width(), targetPixels.height(),
                           targetPixels.bytesPerRow()};
  // The triangle covers the viewport; pixels whose centres lie in it are shaded.
  const Viewport v = pass.viewport.value_or(Viewport{0, 0, double(image.width), double(image.height), 0, 1});
  auto edge = [](double at, std::size_t limit) {
    const double e = std::ceil(at - 0.5);
    return e <= 0 ? std::size_t{0} : std::min(limit, static_cast<std::size_t>(e));
  };
  const PixelRegion region{edge(v.originX, image.width), edge(v.originY, image.height),
                           edge(v.originX + v.width, image.width), edge(v.originY + v.height, image.height)};
  // A clear that the draw overwrites everywhere costs a GPU nothing; skip writing it twice.
  const bool drawCoversTarget =
      !pass.draws.empty() && region.x0 == 0 && region.y0 == 0 && region.x1 == image.width && region.y1 == image.height;
  if (attachment.loadAction == LoadAction::clear && !drawCoversTarget) {
    auto channel = [](double v) { return std::uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    const auto& c = attachment.clearColor;
    const std::uint32_t value = bgra(channel(c.blue), channel(c.green), channel(c.red), channel(c.alpha));
    for (std::size_t y = 0; y < image.height; ++y)
      for (std::size_t x = 0; x < image.width; ++x)
        std::memcpy(image.pixels + y * image.bytesPerRow + x * 4, &value, 4);
  }
  for (const auto& draw : pass.draws) {
    if (!pass.pipelineSet) throw fault("Draw without a render pipeline state.");
    if (target->pixelFormat() != PixelFormat::bgra8Unorm) throw fault("Colour attachment format mismatch.");
    if (draw.type != PrimitiveType::triangle || draw.vertexStart != 0 || draw.vertexCount != 3)
      throw fault("The simulated GPU runs only the full-screen triangle.");
    auto source = std::dynamic_pointer_cast<SimTexture>(pass.fragmentTexture);
    if (!source) throw fault("Fragment texture 0 is missing.");
    if (pass.fragmentBytes.size() < sizeof(RotateFrameParameters)) throw fault("Fragment buffer 0 is too short.");
    RotateFrameParameters p;
    std::memcpy(&p, pass.fragmentBytes.data(), sizeof p);
    if (p.sw != source->width() || p.sh != source->height())
      throw fault("Fragment parameters do not match the fragment texture.");
    const MemoryPixelBuffer& s = source->pixels();
    const StageTimer timer(gpu.timings, FrameStage::rotationKernel);
    if (gpu.turnsBackwards && p.turns % 2 == 1) p.turns ^= 2;
    kernel->run(ConstImage{s.baseAddress(), s.width(), s.height(), s.bytesPerRow()}, p, image, region);
  }
}

// ---- device -------------------------------------------------------------------------------

class SimCommandQueue : public CommandQueue {
 public:
  SimCommandQueue(SimGpu& gpu, std::shared_ptr<RotateFrameKernel> kernel) : gpu(gpu), kernel(std::move(kernel)) {}
  std::shared_ptr<CommandBuffer> makeCommandBuffer() override {
    if (gpu.commandBufferMissing) return nullptr;
    return std::make_shared<SimCommandBuffer>(gpu, kernel);
  }

 private:
  SimGpu& gpu;
  std::shared_ptr<RotateFrameKernel> kernel;
};

class SimDevice : public GpuDevice {
 public:
  explicit SimDevice(SimGpu& gpu) : gpu(gpu), kernel(std::make_shared<RotateFrameKernel>()) {}

  std::shared_ptr<CommandQueue> makeCommandQueue() override {
    if (gpu.commandQueueMissing) return nullptr;
    return std::make_shared<SimCommandQueue>(gpu, kernel);
  }

  std::shared_ptr<GpuLibrary> makeLibrary(const std::string& source) override {
    ++gpu.compiles;
    gpu.librarySource = source;
    if (gpu.libraryError) throw *gpu.libraryError;
    static const std::regex declaration(R"(\b(vertex|fragment)\s+[A-Za-z_][\w:<>]*\s+([A-Za-z_]\w*)\s*\()");
    std::vector<SimFunction> declared;
    for (auto it = std::sregex_iterator(source.begin(), source.end(), declaration); it != std::sregex_iterator(); ++it)
      declared.emplace_back((*it)[2].str(), (*it)[1].str() == "vertex" ? Stage::vertex : Stage::fragment);
    if (declared.empty())
      throw PlatformError(libraryDomain, 3, "program_source: error: no vertex or fragment function");
    return std::make_shared<SimLibrary>(std::move(declared));
  }

  std::shared_ptr<Texture> makeReadableTexture(std::size_t width, std::size_t height) override {
    return gpu.makeTexture(width, height);
  }
  std::optional<std::uint32_t> readPixel(const std::shared_ptr<Texture>& texture, std::size_t x, std::size_t y) override {
    auto sim = std::dynamic_pointer_cast<SimTexture>(texture);
    if (!sim || x >= sim->width() || y >= sim->height()) return std::nullopt;
    return sim->pixel(x, y);
  }

  std::shared_ptr<RenderPipelineState> makeRenderPipelineState(const RenderPipelineDescriptor& d) override {
    if (gpu.pipelineError) throw *gpu.pipelineError;
    auto vertex = std::dynamic_pointer_cast<SimFunction>(d.vertexFunction);
    auto fragment = std::dynamic_pointer_cast<SimFunction>(d.fragmentFunction);
    if (!vertex || vertex->stage != Stage::vertex)
      throw PlatformError(pipelineDomain, 1, "Render pipeline descriptor has no vertex function.");
    if (fragment && fragment->stage != Stage::fragment)
      throw PlatformError(pipelineDomain, 1, "Fragment function is not a fragment function.");
    if (vertex->functionName != fullscreenTriangle || !fragment || fragment->functionName != rotateFrame)
      throw PlatformError(pipelineDomain, 2, "The simulated GPU has no native form of these shader functions.");
    if (d.colorAttachment0Format != PixelFormat::bgra8Unorm || d.blendingEnabled)
      throw PlatformError(pipelineDomain, 2, "The simulated GPU renders only unblended BGRA8.");
    ++gpu.pipelines;
    return std::make_shared<SimPipelineState>();
  }

  TextureCacheResult<TextureCache> makeTextureCache() override {
    return {gpu.textureCacheStatus, gpu.textureCacheMissing ? nullptr : std::make_shared<SimTextureCache>(gpu)};
  }

 private:
  SimGpu& gpu;
  std::shared_ptr<RotateFrameKernel> kernel;
};

// ---- the GPU ------------------------------------------------------------------------------

SimGpu::SimGpu(MainLoop& clock) : clock(clock), device(std::make_shared<SimDevice>(*this)) {
  auto manualScreen = std::make_unique<ManualSerialQueue>("sim.display", clock);
  manualDisplay = manualScreen.get();
  display = std::move(manualScreen);
  auto manual = std::make_unique<ManualSerialQueue>("sim.gpu", clock);
  manualWorker = manual.get();
  worker = std::move(manual);
}

SimGpu::~SimGpu() = default;

std::shared_ptr<GpuDevice> SimGpu::defaultDevice() { return deviceMissing ? nullptr : device; }

void SimGpu::setWorkerQueue(std::unique_ptr<SerialQueue> queue) {
  // The old worker drops its turns (and finishes the one it is running); the buffers still
  // waiting get their turns on the new one, so none is lost without completing.
  auto old = std::exchange(worker, std::move(queue));
  manualWorker = nullptr;
  old.reset();
  std::size_t waiting;
  {
    std::lock_guard lock(pendingMutex);
    waiting = pending.size();
  }
  for (std::size_t i = 0; i < waiting; ++i) worker->async([this] { runNextCommandBuffer(); });
}

void SimGpu::runNextCommandBuffer() {
  std::shared_ptr<SimCommandBuffer> next;
  {
    std::lock_guard lock(pendingMutex);
    if (pending.empty()) return;
    next = std::move(pending.front());
    pending.pop_front();
  }
  next->execute();
}

std::size_t SimGpu::runGpuWork() { return manualWorker ? manualWorker->drain() : 0; }

void SimGpu::setDisplayQueue(std::unique_ptr<SerialQueue> queue) {
  display = std::move(queue);
  manualDisplay = nullptr;
}

std::size_t SimGpu::runDisplayWork() { return manualDisplay ? manualDisplay->drain() : 0; }

std::shared_ptr<GpuView> SimGpu::makeView(std::shared_ptr<GpuDevice> device) {
  return std::make_shared<SimGpuView>(*this, std::move(device));
}

std::shared_ptr<SimDrawable> SimGpu::makeDrawable(std::size_t width, std::size_t height, std::size_t bytesPerRow) {
  return std::make_shared<SimDrawable>(makeTexture(width, height, bytesPerRow));
}

std::shared_ptr<SimTexture> SimGpu::makeTexture(std::size_t width, std::size_t height, std::size_t bytesPerRow) {
  return std::make_shared<SimTexture>(MemoryPixelBuffer::make(width, height, bytesPerRow), PixelFormat::bgra8Unorm);
}

}  // namespace turnlet::sim
