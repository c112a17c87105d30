#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Gpu.h"
#include "platform/MainLoop.h"
#include "platform/SerialQueue.h"
#include "sim/capture/MemoryPixelBuffer.h"
#include "sim/system/StageTimings.h"

namespace turnlet::sim {

class ManualSerialQueue;
class SimDevice;
class SimCommandBuffer;

// A texture of the simulated GPU: a view of a pixel buffer's memory, never a copy.
class SimTexture : public Texture {
 public:
  SimTexture(std::shared_ptr<MemoryPixelBuffer> storage, PixelFormat format);
  std::size_t width() const override { return storage->width(); }
  std::size_t height() const override { return storage->height(); }
  PixelFormat pixelFormat() const override { return format; }

  MemoryPixelBuffer& pixels() const { return *storage; }
  std::uint32_t pixel(std::size_t x, std::size_t y) const;

 private:
  std::shared_ptr<MemoryPixelBuffer> storage;
  PixelFormat format;
};

// A drawable of the simulated screen. Presentation only counts; handlers run on the thread that
// presents (the GPU worker when a command buffer presents it).
class SimDrawable : public Drawable {
 public:
  explicit SimDrawable(std::shared_ptr<SimTexture> texture) : surface(std::move(texture)) {}
  std::shared_ptr<Texture> texture() override { return surface; }
  // Runs the presented handlers now, on the calling thread.
  void present() override;
  void addPresentedHandler(std::function<void(Drawable&)> handler) override;

  const std::shared_ptr<SimTexture>& simTexture() const { return surface; }
  int presentCount() const { return presents.load(); }

 private:
  std::shared_ptr<SimTexture> surface;
  std::mutex mutex;
  std::vector<std::function<void(Drawable&)>> handlers;
  std::atomic<int> presents{0};
};

// What one encoder recorded, as a test reads it back. Textures are held weakly so that watching
// the GPU never keeps a frame alive.
struct RecordedPass {
  std::weak_ptr<Texture> target;
  LoadAction loadAction = LoadAction::dontCare;
  StoreAction storeAction = StoreAction::dontCare;
  ClearColor clearColor;
  bool pipelineSet = false;
  std::optional<Viewport> viewport;
  std::weak_ptr<Texture> fragmentTexture;   // index 0
  std::vector<std::uint8_t> fragmentBytes;  // index 0
  struct Draw {
    PrimitiveType type;
    std::size_t vertexStart;
    std::size_t vertexCount;
  };
  std::vector<Draw> draws;
};

// The GPU of the simulated Mac, running on the CPU.
//
// "Compiling" shader source finds the vertex and fragment functions it declares; a pipeline state
// can be built only from functions this GPU has a native form of: the vertex stage
// `fullscreenTriangle` and the fragment stage `rotateFrame` (RotateFrameKernel). Committed command
// buffers run on a worker queue: by default a manual queue that runGpuWork() drains on the calling
// thread (virtual time, deterministic); setWorkerQueue() hands it a real thread instead. GPU times
// come from the main loop's clock, plus passDurationSeconds.
//
// Faults and observations are set and read on the main loop, between GPU work.
class SimGpu : public Gpu {
 public:
  explicit SimGpu(MainLoop& clock);
  ~SimGpu() override;

  std::shared_ptr<GpuDevice> defaultDevice() override;
  // A SimGpuView (SimGpuView.h).
  std::shared_ptr<GpuView> makeView(std::shared_ptr<GpuDevice> device) override;

  // The worker that runs committed command buffers; buffers committed and not yet run move to it.
  void setWorkerQueue(std::unique_ptr<SerialQueue> queue);
  // Runs committed work on the calling thread (manual worker only); returns how many buffers ran.
  std::size_t runGpuWork();
  // The queue on which views show presented drawables and run their presented handlers: a manual
  // queue by default, drained by runDisplayWork() (what is due on the main loop's clock). Set it
  // before any view presents.
  void setDisplayQueue(std::unique_ptr<SerialQueue> queue);
  std::size_t runDisplayWork();
  SerialQueue& displayQueue() { return *display; }

  // A drawable or a plain target texture of that size, BGRA8.
  std::shared_ptr<SimDrawable> makeDrawable(std::size_t width, std::size_t height, std::size_t bytesPerRow = 0);
  std::shared_ptr<SimTexture> makeTexture(std::size_t width, std::size_t height, std::size_t bytesPerRow = 0);

  // Faults.
  bool deviceMissing = false;
  bool commandQueueMissing = false;
  std::optional<PlatformError> libraryError;        // compiling source fails with it
  std::optional<PlatformError> pipelineError;       // building a pipeline state fails with it
  bool turnsBackwards = false;                      // the program turns quarter turns the wrong way
  TextureCacheStatus textureCacheStatus = 0;        // creating a texture cache returns it
  bool textureCacheMissing = false;                 // ... and no cache (with status 0 or not)
  std::optional<TextureCacheStatus> textureStatus;  // viewing a pixel buffer returns it
  bool captureTextureMissing = false;               // ... no texture object comes back
  bool wrappedTextureMissing = false;               // ... the object wraps no texture
  bool commandBufferMissing = false;
  bool renderEncoderMissing = false;
  bool renderEncoderThrows = false;  // making an encoder throws std::bad_alloc, which is no Error
  std::optional<PlatformError> executionError;  // buffers committed meanwhile complete with it
  double passDurationSeconds = 0;               // GPU time each command buffer reports
  // A GPU that is behind: each command buffer runs only this long (on the main loop's clock)
  // after the later of its commit and the previous buffer's turn, one after the other.
  double lagSeconds = 0;
  // Where the rotation program's passes and the views' presentations are timed (benchmarks);
  // null: nowhere. Set before any work is committed.
  StageTimings* timings = nullptr;

  // Observations. The most recent passes (at most recordedPassLimit), oldest first.
  static constexpr std::size_t recordedPassLimit = 16;
  const std::deque<RecordedPass>& encodedPasses() const { return passes; }
  int libraryCompiles() const { return compiles; }
  int pipelineStatesBuilt() const { return pipelines; }
  int commandBuffersCommitted() const { return commits; }
  // Committed and not yet completed, now and at most so far; from any thread.
  int commandBuffersInFlight() const { return inFlight.load(); }
  int maxCommandBuffersInFlight() const { return maxInFlight.load(); }
  const std::string& lastLibrarySource() const { return librarySource; }
  // Calls of a view's main-thread-only operations (draw, current drawable, release) made off the
  // main loop, as the platform's main thread checker would flag them; from any thread.
  int viewCallsOffLoop() const { return offLoop.load(); }

 private:
  friend class SimDevice;
  friend class SimCommandBuffer;
  friend class SimRenderEncoder;
  friend class SimGpuView;

  void runNextCommandBuffer();  // on the worker

  MainLoop& clock;
  std::shared_ptr<SimDevice> device;
  // Committed buffers in order; the worker gets one turn per buffer.
  std::mutex pendingMutex;
  std::deque<std::shared_ptr<SimCommandBuffer>> pending;
  double lastTurnAt = 0;  // pendingMutex; when the latest buffer's turn comes
  // The worker goes first at destruction: what it still runs may present to the display.
  std::unique_ptr<SerialQueue> display;
  ManualSerialQueue* manualDisplay = nullptr;
  std::unique_ptr<SerialQueue> worker;
  ManualSerialQueue* manualWorker = nullptr;
  std::atomic<int> inFlight{0};
  std::atomic<int> maxInFlight{0};
  std::atomic<int> offLoop{0};
  std::deque<RecordedPass> passes;
  int compiles = 0;
  int pipelines = 0;
  int commits = 0;
  std::string librarySource;
};

}  // namespace turnlet::sim
