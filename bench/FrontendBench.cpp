// The whole chain a person watches in the simulator window, in real time: the compositor draws the
// turned desktop (a window on it moving with every frame), the capture streams it at 60 per
// second, the program rotates each frame on the simulated GPU (its own thread) and presents it on
// the iPad's 60 Hz display, and the simulator window, on Qt's event loop (offscreen platform),
// paints the iPad's picture. The iPad is 2732 × 2048 pixels unless the first argument names
// another size (such as 2266x1488, two pixels a point); the application is the real one, rotated a
// quarter turn from its status menu.
//
// Each captured frame is stamped with its number on the four edges of the turned desktop, so the
// iPad picture's corner pixel names the frame a paint shows. After a warm-up it measures for 10 s
// (TURNLET_BENCH_FRONTEND_SECONDS): distinct frames painted per second, the latency from capture
// to the paint that first shows a frame, and the process's CPU time per distinct frame against a
// memcpy of one frame measured in the same run.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "QtBenchApp.h"
#include "RunClock.h"
#include "host/MonotonicClock.h"

using namespace turnlet;

namespace {

constexpr DisplayID macID = 1, ipadID = 2;
constexpr double warmUpSeconds = 4;

struct FrameSize {
  std::size_t width = 2732, height = 2048;
};

// Median wall time of copying one iPad frame, cache-cold (the buffers exceed the cache).
double memcpyMilliseconds(FrameSize size) {
  const std::size_t bytes = size.width * size.height * 4;
  std::vector<unsigned char> from(bytes, 1), to(bytes, 0);
  std::vector<double> times;
  for (int i = 0; i < 60; ++i) {
    const double start = host::monotonicSeconds();
    std::memcpy(to.data(), from.data(), bytes);
    times.push_back(host::monotonicSeconds() - start);
    from[i] = to[bytes - 1 - i];  // keeps the copies from being folded away
  }
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  return times[times.size() / 2] * 1000;
}

sim::WorldDescription benchWorld(FrameSize size) {
  sim::SimDisplay mac{macID, "Built-in Retina Display", Rect(0, 0, 1440, 900), 1552, 0, 0, true, false, "MAC-1"};
  sim::SimDisplay ipad{ipadID, "Sidecar Display (AirPlay)", Rect(1440, 0, double(size.width) / 2, double(size.height) / 2),
                       1552, 0, 0, false, false, "IPAD-1"};
  sim::SimAppWindow notes{101, "Notes", Rect(1500, 80, 600, 400), 1, 0, 28, true, true, {}};
  return {{mac, ipad}, macID, {sim::SimApplication{501, "Notes", {notes}}}};
}

void stampEdges(sim::MemoryPixelBuffer& frame, std::uint32_t id) {
  const std::uint32_t value = 0xFF000000u | id;
  const auto line = [&](std::size_t y) { return reinterpret_cast<std::uint32_t*>(frame.baseAddress() + y * frame.bytesPerRow()); };
  std::fill_n(line(0), frame.width(), value);
  std::fill_n(line(frame.height() - 1), frame.width(), value);
  for (std::size_t y = 0; y < frame.height(); ++y) line(y)[0] = line(y)[frame.width() - 1] = value;
}

struct Result {
  double distinctPerSecond = 0;
  double paintsPerSecond = 0;
  double capturedPerSecond = 0;
  double medianLatencyMs = 0;
  double p95LatencyMs = 0;
  double cpuMsPerFrame = 0;
  double cpuCores = 0;
};

Result run(int argc, char** argv, FrameSize size, double seconds) {
  bench::QtBenchApp app(argc, argv, benchWorld(size));
  auto& loop = app.loop;
  auto& world = app.world;

  // Frames are numbered as the capture takes them (on the loop); the paint reads the number back.
  constexpr std::uint32_t maxFrames = 1 << 20;
  std::vector<double> capturedAt(maxFrames, 0);
  std::uint32_t captured = 0;
  const auto source = world.capture.pictureSource;
  world.capture.pictureSource = [&](DisplayID display, std::size_t width, std::size_t height) {
    auto frame = source(display, width, height);
    if (auto* pixels = dynamic_cast<sim::MemoryPixelBuffer*>(frame.get()); pixels && captured + 1 < maxFrames) {
      stampEdges(*pixels, ++captured);
      capturedAt[captured] = host::monotonicSeconds();
    }
    return frame;
  };

  // The turned desktop changes every frame: its window moves a point before each capture, so the
  // capture has a new picture to take (an unchanged desktop would give idle frames) and the whole
  // desktop is drawn again. The Mac's display does not change, so its picture is kept.
  // On a fixed 60 Hz cadence, so that a late turn of the loop does not slow the moves down.
  std::uint32_t moves = 0;
  double nextMove = 0;
  std::function<void()> moveWindow = [&] {
    world.windows.appWindow(101)->bounds.origin.x = 1500 + ++moves % 32;
    nextMove = std::max(nextMove + 1.0 / 60, loop.now());
    loop.schedule(nextMove - loop.now(), moveWindow);
  };
  loop.post([&] {
    nextMove = loop.now();
    moveWindow();
  });

  bool measuring = false;
  std::uint32_t lastShown = 0, firstCaptured = 0;
  int paints = 0, distinct = 0;
  std::vector<double> latencies;
  double cpuStart = 0, wallStart = 0;
  auto& desktop = app.simulator.window().desktop();
  desktop.onPainted = [&] {
    const auto* ipad = desktop.picture(ipadID);
    if (!measuring || !ipad) return;
    ++paints;
    const std::uint32_t id = ipad->pixel(0, 0) & 0xFFFFFFu;
    if (id == lastShown || id == 0 || id >= maxFrames || capturedAt[id] == 0) return;
    lastShown = id;
    ++distinct;
    latencies.push_back(host::monotonicSeconds() - capturedAt[id]);
  };

  app.chooseInStatusMenu("Rotate");

  Result result;
  loop.schedule(warmUpSeconds, [&] {
    measuring = true;
    firstCaptured = captured;
    cpuStart = bench::processCpuSeconds(), wallStart = host::monotonicSeconds();
  });
  loop.schedule(warmUpSeconds + seconds, [&] {
    const double wall = host::monotonicSeconds() - wallStart, cpu = bench::processCpuSeconds() - cpuStart;
    measuring = false;
    result.distinctPerSecond = distinct / wall;
    result.paintsPerSecond = paints / wall;
    result.capturedPerSecond = (captured - firstCaptured) / wall;
    if (!latencies.empty()) {
      std::sort(latencies.begin(), latencies.end());
      result.medianLatencyMs = latencies[latencies.size() / 2] * 1000;
      result.p95LatencyMs = latencies[latencies.size() * 95 / 100] * 1000;
    }
    result.cpuMsPerFrame = distinct ? cpu / distinct * 1000 : 0;
    result.cpuCores = cpu / wall;
    app.application.terminate();
  });
  loop.schedule(warmUpSeconds + seconds + 15, [&] { loop.stop(); });  // a quit that never ends
  app.simulator.launch();  // runs until the application has put the iPad back and terminated
  if (!app.application.isTerminated()) throw std::runtime_error("the application did not quit");
  if (result.distinctPerSecond == 0) throw std::runtime_error("the iPad picture never showed a captured frame");
  return result;
}

// "WxH" in even pixels (the iPad has two a point), else nothing.
std::optional<FrameSize> parseSize(const char* text) {
  unsigned width = 0, height = 0;
  char end = 0;
  if (std::sscanf(text, "%ux%u%c", &width, &height, &end) != 2 || width < 64 || height < 64 || width > 8192 ||
      height > 8192 || width % 2 || height % 2)
    return std::nullopt;
  return FrameSize{width, height};
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const double seconds = bench::runSeconds("TURNLET_BENCH_FRONTEND_SECONDS");
  FrameSize size;
  if (argc > 1) {
    const auto asked = parseSize(argv[1]);
    if (!asked) {
      std::fprintf(stderr, "frontend_bench: the size is WIDTHxHEIGHT in even pixels, such as 2732x2048\n");
      return 2;
    }
    size = *asked;
  }
  const double copy = memcpyMilliseconds(size);
  Result r;
  try {
    r = run(argc, argv, size, seconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "frontend_bench: %s\n", e.what());
    return 1;
  }
  const double interval = 1000.0 / 60;
  std::printf("summary: frontend distinct frames on the iPad picture: %.1f per second (target 60; captured %.1f, "
              "window paints %.1f)\n",
              r.distinctPerSecond, r.capturedPerSecond, r.paintsPerSecond);
  std::printf("summary: frontend latency from capture to the window's paint: median %.1f ms (%.2f frame intervals; "
              "target under 2), 95th percentile %.1f ms\n",
              r.medianLatencyMs, r.medianLatencyMs / interval, r.p95LatencyMs);
  std::printf("summary: frontend CPU time per distinct frame: %.1f ms = %.1f x a memcpy of one %zux%zu frame "
              "(%.2f ms); %.2f cores busy\n",
              r.cpuMsPerFrame, copy > 0 ? r.cpuMsPerFrame / copy : 0, size.width, size.height, copy, r.cpuCores);
  return 0;
}
