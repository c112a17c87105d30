// The whole frame path in real time: 2732×2048 frames captured at 60 per second go through the
// screen renderer, the simulated GPU (rotation on a worker thread) and a 60 Hz display, with the
// real run loop as the main loop. After a second of warm-up it runs for 10 s (or
// TURNLET_BENCH_PIPELINE_SECONDS) and reports the renderer's own statistics, the time the
// renderer spends on the main loop per frame (the rotation runs on the GPU worker, not there),
// and the latency from capture to the display showing the frame. Baselines from the same run: the
// capture rate, the frame interval, and a memcpy of one frame.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <time.h>
#include <vector>

#include "RunClock.h"
#include "host/MonotonicClock.h"
#include "host/RunLoop.h"
#include "host/ThreadSerialQueue.h"
#include "render/ScreenRenderer.h"
#include "sim/capture/SimCapture.h"
#include "sim/gpu/SimGpuView.h"
#include "sim/world/World.h"

using namespace turnlet;

namespace {

constexpr std::size_t frameWidth = 2732;
constexpr std::size_t frameHeight = 2048;
constexpr double captureFramesPerSecond = 60;
constexpr double warmUpSeconds = 1;

std::size_t alignedRow(std::size_t width) { return (width * 4 + 63) / 64 * 64; }

// The main loop as the renderer sees it, timing every piece of work handed to it (loop thread).
class TimedLoop : public MainLoop {
 public:
  explicit TimedLoop(host::RunLoop& inner) : inner(inner) {}
  void post(std::function<void()> fn) override { inner.post(timed(std::move(fn))); }
  TimerId schedule(double delaySeconds, std::function<void()> fn, double tolerance) override {
    return inner.schedule(delaySeconds, timed(std::move(fn)), tolerance);
  }
  void cancel(TimerId id) override { inner.cancel(id); }
  double now() const override { return inner.now(); }
  bool isLoopThread() const override { return inner.isLoopThread(); }

  double busySeconds = 0;     // wall time
  double busyCpuSeconds = 0;  // CPU time of the loop thread
  // Wall time of each block run; a block whose thread was descheduled for a few milliseconds
  // weighs heavily in the sum, so the typical cost is read from the median as well.
  std::vector<double> blockSeconds;

  void reset() {
    busySeconds = 0;
    busyCpuSeconds = 0;
    blockSeconds.clear();
  }
  double medianBlockSeconds() {
    if (blockSeconds.empty()) return 0;
    std::nth_element(blockSeconds.begin(), blockSeconds.begin() + blockSeconds.size() / 2, blockSeconds.end());
    return blockSeconds[blockSeconds.size() / 2];
  }

 private:
  static double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
  }
  std::function<void()> timed(std::function<void()> fn) {
    return [this, fn = std::move(fn)] {
      const auto start = std::chrono::steady_clock::now();
      const double cpuStart = threadCpuSeconds();
      fn();
      busyCpuSeconds += threadCpuSeconds() - cpuStart;
      const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      busySeconds += wall;
      blockSeconds.push_back(wall);
    };
  }
  host::RunLoop& inner;
};

// Capture buffers recycled as a capture service does: a buffer is reused only once nobody holds
// it any more; the last holder, on whatever thread, hands it back.
class FramePool : public std::enable_shared_from_this<FramePool> {
 public:
  std::shared_ptr<sim::MemoryPixelBuffer> take() {
    std::unique_ptr<sim::MemoryPixelBuffer> buffer;
    {
      std::lock_guard lock(mutex);
      if (!free.empty()) {
        buffer = std::move(free.back());
        free.pop_back();
      }
    }
    if (!buffer) {
      buffer = std::make_unique<sim::MemoryPixelBuffer>(frameWidth, frameHeight, alignedRow(frameWidth));
      auto* words = reinterpret_cast<std::uint32_t*>(buffer->baseAddress());
      std::uint32_t state = 12345;
      for (std::size_t i = 0; i < buffer->bytesPerRow() / 4 * frameHeight; ++i)
        words[i] = (state = state * 1664525u + 1013904223u) | 0xFF000000u;
      ++allocated;
    }
    return std::shared_ptr<sim::MemoryPixelBuffer>(buffer.release(), [pool = shared_from_this()](sim::MemoryPixelBuffer* p) {
      std::lock_guard lock(pool->mutex);
      pool->free.emplace_back(p);
    });
  }
  int allocated = 0;  // capture thread

 private:
  std::mutex mutex;
  std::vector<std::unique_ptr<sim::MemoryPixelBuffer>> free;
};

struct PipelineResult {
  double capturedFPS = 0;
  double presentedFPS = 0;
  double updatedFPS = 0;
  double averageGPUms = 0;
  double mainLoopMicrosecondsPerFrame = 0;     // wall time
  double mainLoopCpuMicrosecondsPerFrame = 0;  // CPU time
  double mainLoopTypicalMicrosecondsPerFrame = 0;  // median block wall time × blocks per frame
  double medianLatencyMilliseconds = 0;
  double framesShown = 0;
  int buffersAllocated = 0;
};

PipelineResult runPipeline(double seconds) {
  host::RunLoop loop;
  TimedLoop timed(loop);
  sim::World world{loop};
  world.gpu.setWorkerQueue(std::make_unique<host::ThreadSerialQueue>("sim.gpu"));
  world.gpu.setDisplayQueue(std::make_unique<host::ThreadSerialQueue>("sim.display"));

  auto renderer = ScreenRenderer::make(timed, world.gpu, QuarterTurn::right, 60);
  auto view = std::dynamic_pointer_cast<sim::SimGpuView>(renderer->view());
  view->resizeDrawable(frameHeight, frameWidth);

  constexpr std::size_t maxFrames = 1 << 16;
  std::vector<double> capturedAt(maxFrames, 0);  // written before delivery, read after the show
  std::mutex shownMutex;
  std::vector<double> latencies;
  std::uint32_t lastShownId = 0;
  double shownInWindow = 0;
  bool measuring = false;
  // Target pixel (0, 0) shows the frame's first row, where the capture wrote the frame number.
  view->setShownObserver([&](const sim::SimTexture& texture, double shownAt) {
    const std::uint32_t id = texture.pixel(0, 0) & 0xFFFFFFu;
    std::lock_guard lock(shownMutex);
    if (!measuring) return;
    ++shownInWindow;
    if (id != lastShownId && id < maxFrames) latencies.push_back(shownAt - capturedAt[id]);
    lastShownId = id;
  });
  renderer->onFailure = [](const Error& e) { std::fprintf(stderr, "render failure: %s\n", e.localizedDescription().c_str()); };
  renderer->startRendering();

  auto pool = std::make_shared<FramePool>();
  std::atomic<bool> capturing{true};
  std::thread capture([&, output = renderer->streamOutput()] {
    const auto start = std::chrono::steady_clock::now();
    for (std::uint32_t id = 1; capturing && id < maxFrames; ++id) {
      std::this_thread::sleep_until(start + std::chrono::duration<double>(id / captureFramesPerSecond));
      auto frame = pool->take();
      auto* row = reinterpret_cast<std::uint32_t*>(frame->baseAddress());
      std::fill(row, row + frameWidth, id | 0xFF000000u);
      capturedAt[id] = host::monotonicSeconds();
      output->didOutputSampleBuffer(sim::SimSampleBuffer::frame(std::move(frame)), StreamOutputType::screen);
    }
  });

  PipelineResult result;
  loop.schedule(warmUpSeconds, [&] {
    renderer->statistics().snapshot();
    timed.reset();
    std::lock_guard lock(shownMutex);
    measuring = true;
  });
  loop.schedule(warmUpSeconds + seconds, [&] {
    const auto reading = renderer->statistics().snapshot();
    result.capturedFPS = reading.captureFPS;
    result.presentedFPS = reading.presentationFPS;
    result.updatedFPS = reading.updatedFPS;
    result.averageGPUms = reading.averageGPUms;
    {
      std::lock_guard lock(shownMutex);
      measuring = false;
      result.framesShown = shownInWindow;
      if (!latencies.empty()) {
        std::nth_element(latencies.begin(), latencies.begin() + latencies.size() / 2, latencies.end());
        result.medianLatencyMilliseconds = latencies[latencies.size() / 2] * 1000;
      }
    }
    result.mainLoopMicrosecondsPerFrame = shownInWindow > 0 ? timed.busySeconds / shownInWindow * 1e6 : 0;
    result.mainLoopCpuMicrosecondsPerFrame = shownInWindow > 0 ? timed.busyCpuSeconds / shownInWindow * 1e6 : 0;
    result.mainLoopTypicalMicrosecondsPerFrame =
        shownInWindow > 0 ? timed.medianBlockSeconds() * double(timed.blockSeconds.size()) / shownInWindow * 1e6 : 0;
    loop.stop();
  });
  loop.run();
  capturing = false;
  capture.join();
  result.buffersAllocated = pool->allocated;
  renderer->invalidate();
  renderer.reset();
  return result;
}

PipelineResult pipelineResult;
double memcpyMilliseconds = 0;

void pipelineCase(benchmark::State& state) {
  for (auto _ : state) pipelineResult = runPipeline(bench::runSeconds("TURNLET_BENCH_PIPELINE_SECONDS"));
  state.counters["presented_fps"] = pipelineResult.presentedFPS;
  state.counters["updated_fps"] = pipelineResult.updatedFPS;
  state.counters["main_loop_us_per_frame"] = pipelineResult.mainLoopMicrosecondsPerFrame;
  state.counters["median_latency_ms"] = pipelineResult.medianLatencyMilliseconds;
}

void memcpyCase(benchmark::State& state) {
  // A few frames more than the last-level cache holds, so each copy is cache-cold as capture is.
  const std::size_t bytes = alignedRow(frameWidth) * frameHeight;
  std::vector<std::vector<std::uint8_t>> sources(6, std::vector<std::uint8_t>(bytes, 1));
  std::vector<std::vector<std::uint8_t>> targets(6, std::vector<std::uint8_t>(bytes, 2));
  std::vector<double> times;
  std::size_t i = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::memcpy(targets[i % 6].data(), sources[(i + 3) % 6].data(), bytes);
    benchmark::ClobberMemory();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    ++i;
  }
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  memcpyMilliseconds = times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RegisterBenchmark("memcpy/2732x2048", memcpyCase)->Unit(benchmark::kMillisecond)->MinTime(0.5);
  benchmark::RegisterBenchmark("pipeline/2732x2048@60fps", pipelineCase)
      ->Iterations(1)
      ->UseRealTime()
      ->Unit(benchmark::kSecond);
  benchmark::RunSpecifiedBenchmarks();

  const auto& r = pipelineResult;
  const double interval = 1000 / captureFramesPerSecond;
  std::printf("\n");
  std::printf("summary: pipeline 2732x2048 turned, %.0f s at %.0f fps captured: presented %.1f fps, updated %.1f fps "
              "(%.2fx and %.2fx of the %.1f fps captured)\n",
              bench::runSeconds("TURNLET_BENCH_PIPELINE_SECONDS"), captureFramesPerSecond, r.presentedFPS, r.updatedFPS,
              r.capturedFPS > 0 ? r.presentedFPS / r.capturedFPS : 0, r.capturedFPS > 0 ? r.updatedFPS / r.capturedFPS : 0,
              r.capturedFPS);
  std::printf("summary: pipeline main loop: renderer work per presented frame %.1f µs of CPU time, %.1f µs of wall "
              "time, typically %.1f µs (median block × blocks per frame) (%.2f%% of the %.2f ms frame interval; the "
              "rotation runs on the GPU worker)\n",
              r.mainLoopCpuMicrosecondsPerFrame, r.mainLoopMicrosecondsPerFrame, r.mainLoopTypicalMicrosecondsPerFrame,
              r.mainLoopMicrosecondsPerFrame / 10 / interval, interval);
  std::printf("summary: pipeline latency from capture to the display showing the frame: median %.1f ms (%.2f frame "
              "intervals)\n",
              r.medianLatencyMilliseconds, r.medianLatencyMilliseconds / interval);
  if (memcpyMilliseconds > 0)
    std::printf("summary: pipeline GPU time per frame (simulated, one CPU thread): %.2f ms, %.2fx a memcpy of one "
                "frame (%.2f ms)\n",
                r.averageGPUms, r.averageGPUms / memcpyMilliseconds, memcpyMilliseconds);
  std::printf("capture buffers allocated: %d; frames shown while measuring: %.0f\n", r.buffersAllocated, r.framesShown);
  benchmark::Shutdown();
  return 0;
}
