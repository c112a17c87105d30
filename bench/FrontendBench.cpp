// The whole chain a person watches in the simulator window, in real time: the compositor draws the
// turned desktop (a window on it moving with every frame), the capture streams it at 60 per
// second, the program rotates each frame on the simulated GPU (its own thread) and presents it on
// the iPad's 60 Hz display, and the simulator window, on Qt's event loop (offscreen platform),
// paints the iPad's picture, held (turned upright). The application is the real one, rotated a
// quarter turn from its status menu.
//
//   frontend_bench WxH   one iPad of W × H pixels (even numbers: two pixels a point)
//   frontend_bench       the largest, the first and the smallest iPad, each in a process of its own
//
// Each captured frame is stamped with its number on the four edges of the turned desktop, so the
// iPad picture's corner pixel names the frame a paint shows. After a warm-up it measures for 10 s
// (TURNLET_BENCH_FRONTEND_SECONDS): distinct frames painted per second, the latency from capture
// to the paint that first shows a frame, and the process's CPU time per distinct frame, against a
// memcpy of one frame from memory measured in the same run; and where a frame's time goes, step
// by step (the simulation times its steps into a sink set on the world).

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "QtBenchApp.h"
#include "RunClock.h"
#include "host/MonotonicClock.h"
#include "sim/system/StageTimings.h"

extern char** environ;

using namespace turnlet;

namespace {

constexpr DisplayID macID = 1, ipadID = 2;
constexpr double warmUpSeconds = 4;
constexpr double frameInterval = 1.0 / 60;

struct FrameSize {
  std::size_t width = 2732, height = 2048;
};
// The largest iPad, the first one and the smallest.
constexpr FrameSize sizes[] = {{2752, 2064}, {2732, 2048}, {2266, 1488}};

// Median wall time of copying one iPad frame. From memory to memory (the baseline): each copy
// takes a pair of frames of its own from a ring that exceeds a last-level cache many times over,
// so that neither is cached, as a frame on its way through the pipeline is not (two smaller
// frames fit a 32 MiB cache, and copied back and forth they would be measured in it). Or again
// and again between the same two frames (`cached`), as a figure to compare.
double memcpySeconds(FrameSize size, bool cached = false) {
  const std::size_t bytes = size.width * size.height * 4;
  const std::size_t pairs = cached ? 1 : std::max<std::size_t>(4, (std::size_t{512} << 20) / (2 * bytes));
  std::vector<std::vector<unsigned char>> frames(2 * pairs, std::vector<unsigned char>(bytes, 1));
  std::vector<double> times;
  for (std::size_t i = 0; i < 60; ++i) {
    auto& from = frames[2 * (i % pairs)];
    auto& to = frames[2 * (i % pairs) + 1];
    const double start = host::monotonicSeconds();
    std::memcpy(to.data(), from.data(), bytes);
    times.push_back(host::monotonicSeconds() - start);
    from[i] = to[bytes - 1 - i];  // keeps the copies from being folded away
  }
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  return times[times.size() / 2];
}

sim::WorldDescription benchWorld(FrameSize size) {
  sim::SimDisplay mac{macID, "Built-in Retina Display", Rect(0, 0, 1440, 900), 1552, 0, 0, true, false, "MAC-1"};
  sim::SimDisplay ipad{ipadID, "Sidecar Display (AirPlay)", Rect(1440, 0, double(size.width) / 2, double(size.height) / 2),
                       1552, 0, 0, false, false, "IPAD-1"};
  sim::SimAppWindow notes{101, "Notes", Rect(1500, 80, 600, 400), 1, 0, 28, true, true, {}};
  return {{mac, ipad}, macID, {sim::SimApplication{501, "Notes", {notes}}}};
}

// Two pixels deep, so that the window's picture taken at half the size keeps the number too.
void stampEdges(sim::MemoryPixelBuffer& frame, std::uint32_t id) {
  const std::uint32_t value = 0xFF000000u | id;
  const std::size_t w = frame.width(), h = frame.height();
  const auto line = [&](std::size_t y) { return reinterpret_cast<std::uint32_t*>(frame.baseAddress() + y * frame.bytesPerRow()); };
  for (std::size_t y : {std::size_t{0}, std::size_t{1}, h - 2, h - 1}) std::fill_n(line(y), w, value);
  for (std::size_t y = 0; y < h; ++y) line(y)[0] = line(y)[1] = line(y)[w - 2] = line(y)[w - 1] = value;
}

// The times of each step while measuring, from any thread. Room for every step of the run is
// reserved first, so that collecting allocates nothing on the paths it times.
class StageCollector : public sim::StageTimings {
 public:
  StageCollector() {
    for (auto& t : times) t.reserve(capacity);
  }
  double now() override { return host::monotonicSeconds(); }
  void add(sim::FrameStage stage, double seconds) override {
    if (!collecting.load(std::memory_order_relaxed)) return;
    std::lock_guard lock(mutex);
    auto& t = times[std::size_t(stage)];
    if (t.size() < t.capacity()) t.push_back(seconds);
  }
  std::vector<double> take(sim::FrameStage stage) {
    std::lock_guard lock(mutex);
    return times[std::size_t(stage)];
  }

  std::atomic<bool> collecting{false};

 private:
  static constexpr std::size_t capacity = 1 << 16;
  std::mutex mutex;
  std::array<std::vector<double>, sim::frameStageCount> times;
};

// Median and 99th percentile of a set of seconds, and how many a second.
struct Spread {
  double median = 0, p99 = 0, perSecond = 0;
};
Spread spread(std::vector<double> values, double wall) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  return {values[values.size() / 2], values[std::min(values.size() - 1, values.size() * 99 / 100)],
          double(values.size()) / wall};
}

struct Step {
  const char* name;
  Spread time;
};

struct Result {
  double distinctPerSecond = 0;
  double paintsPerSecond = 0;
  double capturedPerSecond = 0;
  Spread latency;
  double cpuPerFrame = 0;
  double cpuCores = 0;
  std::vector<Step> steps;
  Spread toShown, shownToPaint;
};

Result run(int argc, char** argv, FrameSize size, double seconds) {
  bench::QtBenchApp app(argc, argv, benchWorld(size));
  auto& loop = app.loop;
  auto& world = app.world;
  StageCollector collector;
  world.timeStages(&collector);

  // Frames are numbered as the capture takes them (on the loop); the iPad's display and the paint
  // read the number back from a corner.
  constexpr std::uint32_t maxFrames = 1 << 20;
  std::vector<double> capturedAt(maxFrames, 0);
  std::vector<std::atomic<double>> shownAt(maxFrames);
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
    nextMove = std::max(nextMove + frameInterval, loop.now());
    loop.schedule(nextMove - loop.now(), moveWindow);
  };
  loop.post([&] {
    nextMove = loop.now();
    moveWindow();
  });

  bool measuring = false, watchingView = false;
  std::uint32_t lastShown = 0, firstCaptured = 0;
  int paints = 0, distinct = 0;
  std::vector<double> latencies, toShown, shownToPaint;
  double cpuStart = 0, wallStart = 0;
  auto& desktop = app.simulator.window().desktop();
  desktop.onPainted = [&] {
    // The presentation view, once it is there, reports when the iPad's display shows each frame.
    if (!watchingView) {
      for (const sim::ServerWindow* w : world.windows.windows())
        if (auto view = std::dynamic_pointer_cast<sim::SimGpuView>(w->contentView())) {
          view->setShownObserver([&](const sim::SimTexture& shown, double) {
            const std::uint32_t id = shown.pixel(0, 0) & 0xFFFFFFu;
            if (id < maxFrames) shownAt[id].store(host::monotonicSeconds(), std::memory_order_relaxed);
          });
          watchingView = true;
        }
    }
    const auto* ipad = desktop.picture(ipadID);
    if (!measuring || !ipad) return;
    ++paints;
    const std::uint32_t id = ipad->pixel(0, 0) & 0xFFFFFFu;
    if (id == lastShown || id == 0 || id >= maxFrames || capturedAt[id] == 0) return;
    lastShown = id;
    ++distinct;
    const double now = host::monotonicSeconds(), shown = shownAt[id].load(std::memory_order_relaxed);
    latencies.push_back(now - capturedAt[id]);
    if (shown > 0) toShown.push_back(shown - capturedAt[id]), shownToPaint.push_back(now - shown);
  };

  app.chooseInStatusMenu("Rotate");

  Result result;
  loop.schedule(warmUpSeconds, [&] {
    measuring = true;
    collector.collecting = true;
    firstCaptured = captured;
    cpuStart = bench::processCpuSeconds(), wallStart = host::monotonicSeconds();
  });
  loop.schedule(warmUpSeconds + seconds, [&] {
    const double wall = host::monotonicSeconds() - wallStart, cpu = bench::processCpuSeconds() - cpuStart;
    measuring = false;
    collector.collecting = false;
    result.distinctPerSecond = distinct / wall;
    result.paintsPerSecond = paints / wall;
    result.capturedPerSecond = (captured - firstCaptured) / wall;
    result.latency = spread(latencies, wall);
    result.cpuPerFrame = distinct ? cpu / distinct : 0;
    result.cpuCores = cpu / wall;
    using sim::FrameStage;
    for (const auto& [stage, name] : {std::pair{FrameStage::compositorDraw, "compositor draw (the turned desktop)"},
                                      std::pair{FrameStage::rotationKernel, "rotation kernel (simulated GPU)"},
                                      std::pair{FrameStage::viewPresent, "GPU view present (display queue)"},
                                      std::pair{FrameStage::windowCopy, "capture copy (window takes the picture)"},
                                      std::pair{FrameStage::heldTurn, "held-view turn"},
                                      std::pair{FrameStage::windowPaint, "Qt paint (the rest of it)"}})
      result.steps.push_back({name, spread(collector.take(stage), wall)});
    result.toShown = spread(toShown, wall);
    result.shownToPaint = spread(shownToPaint, wall);
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

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

void report(const Result& r, FrameSize size, double copy, double cachedCopy) {
  const auto ms = [](double seconds) { return seconds * 1000; };
  const auto copies = [&](double seconds) { return copy > 0 ? seconds / copy : 0; };
  std::printf("frontend %zux%zu: a memcpy of one frame takes %.2f ms from memory to memory (%.2f ms copied again "
              "and again between the same two frames)\n",
              size.width, size.height, ms(copy), ms(cachedCopy));
  std::printf("  %-42s %9s %7s %9s %7s %9s\n", "step, per time it runs", "median", "x copy", "p99", "x copy",
              "a second");
  for (const Step& s : r.steps)
    std::printf("  %-42s %6.2f ms %6.2fx %6.2f ms %6.2fx %9.1f\n", s.name, ms(s.time.median), copies(s.time.median),
                ms(s.time.p99), copies(s.time.p99), s.time.perSecond);
  for (const auto& [name, wait] : {std::pair{"wait: capture to shown on the iPad", r.toShown},
                                   std::pair{"wait: shown to the window's paint", r.shownToPaint}})
    std::printf("  %-42s %6.2f ms %6.2fx %6.2f ms %6.2fx %9s\n", name, ms(wait.median), copies(wait.median),
                ms(wait.p99), copies(wait.p99), "");
  const double fps = r.distinctPerSecond, intervals = r.latency.median / frameInterval, cpu = copies(r.cpuPerFrame);
  std::printf("summary: frontend %zux%zu distinct frames on the iPad picture: %.1f per second (target >= 58: %s; "
              "captured %.1f, window paints %.1f)\n",
              size.width, size.height, fps, verdict(fps >= 58), r.capturedPerSecond, r.paintsPerSecond);
  std::printf("summary: frontend %zux%zu latency from capture to the window's paint: median %.1f ms = %.2f frame "
              "intervals (target <= 3: %s), 99th percentile %.1f ms\n",
              size.width, size.height, ms(r.latency.median), intervals, verdict(intervals <= 3), ms(r.latency.p99));
  std::printf("summary: frontend %zux%zu CPU time per distinct frame: %.1f ms = %.1f x a memcpy of one frame "
              "(target <= 8: %s); %.2f cores busy\n",
              size.width, size.height, ms(r.cpuPerFrame), cpu, verdict(cpu <= 8), r.cpuCores);
}

// Runs this program once per size, one after the other; fails when any run fails.
int runEachSize(char* self) {
  int failures = 0;
  for (const FrameSize& size : sizes) {
    std::string text = std::to_string(size.width) + "x" + std::to_string(size.height);
    char* args[] = {self, text.data(), nullptr};
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, self, nullptr, nullptr, args, environ) != 0 || waitpid(child, &status, 0) != child ||
        !WIFEXITED(status) || WEXITSTATUS(status) != 0)
      ++failures;
    std::fflush(stdout);
  }
  return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return runEachSize(argv[0]);
  const auto size = parseSize(argv[1]);
  if (!size) {
    std::fprintf(stderr, "frontend_bench: the size is WIDTHxHEIGHT in even pixels, such as 2732x2048\n");
    return 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const double seconds = bench::runSeconds("TURNLET_BENCH_FRONTEND_SECONDS");
  const double copy = memcpySeconds(*size), cachedCopy = memcpySeconds(*size, true);
  Result r;
  try {
    r = run(argc, argv, *size, seconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "frontend_bench: %s\n", e.what());
    return 1;
  }
  report(r, *size, copy, cachedCopy);
  return 0;
}
