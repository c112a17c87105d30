// The simulated Mac's compositor drawing a 2732 × 2048 iPad: its desktop with an application
// window, then the same with the full-screen presentation window over it (its last shown
// picture copied 1:1), each against a memcpy of one frame measured in the same run. One thread;
// the background changes with every picture, as a moving desktop would. Medians of CPU time.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "SummaryReporter.h"
#include "sim/system/ManualLoop.h"
#include "sim/world/World.h"

using namespace turnlet;
using namespace turnlet::sim;

namespace {

constexpr DisplayID ipad = 2;

WorldDescription ipadWorld() {
  WorldDescription d;
  d.displays = {SimDisplay{1, "Mac", Rect(0, 0, 1440, 900), 1552, 0, 0, true, false, "MAC"},
                SimDisplay{ipad, "iPad", Rect(1440, 0, 1366, 1024), 1552, 0, 0, false, false, "IPAD"}};
  d.mainDisplay = 1;
  SimAppWindow window;
  window.number = 7;
  window.title = "Benchmark";
  window.bounds = Rect(1500, 100, 800, 600);
  window.clicks = 3;
  window.lastClick = Point{40, 80};
  d.applications = {SimApplication{700, "Editor", {window}}};
  return d;
}

// A world whose iPad shows an application window and, when asked, the presentation window
// with a picture on screen.
struct Scene {
  explicit Scene(bool presentation) {
    world.compositor.animateBackground = true;
    if (!presentation) return;
    window = world.windows.makeWindow({1440, 900 - 1024, 1366, 1024}, 0, BackingStoreType::buffered, false);
    window->setLevel(1000);
    auto view = std::static_pointer_cast<SimGpuView>(world.gpu.makeView(world.gpu.defaultDevice()));
    window->setContentView(view);
    window->orderFrontRegardless();
    view->currentDrawable()->present();
    loop.advance(0.05);
    world.gpu.runDisplayWork();
  }
  ManualLoop loop;
  World world{loop, ipadWorld()};
  std::unique_ptr<PlatformWindow> window;
};

void memcpyCase(benchmark::State& state) {
  auto from = MemoryPixelBuffer::make(2732, 2048), to = MemoryPixelBuffer::make(2732, 2048);
  for (auto _ : state) {
    std::memcpy(to->baseAddress(), from->baseAddress(), from->bytesPerRow() * 2048);
    benchmark::DoNotOptimize(to->baseAddress());
  }
}

void drawCase(benchmark::State& state, bool presentation) {
  Scene scene(presentation);
  auto target = MemoryPixelBuffer::make(2732, 2048);
  for (auto _ : state) {
    if (!scene.world.compositor.drawInto(ipad, *target)) state.SkipWithError("nothing drawn");
    benchmark::DoNotOptimize(target->baseAddress());
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  auto configure = [](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5)->ReportAggregatesOnly(true);
  };
  configure(benchmark::RegisterBenchmark("memcpy/2732x2048", memcpyCase));
  configure(benchmark::RegisterBenchmark("desktop/2732x2048", drawCase, false));
  configure(benchmark::RegisterBenchmark("presentation/2732x2048", drawCase, true));
  turnlet::bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double copy = reporter.median("memcpy/2732x2048");
  for (const char* name : {"desktop/2732x2048", "presentation/2732x2048"}) {
    const double ms = reporter.median(name);
    std::printf("summary: compositor %s: %.2f ms, %.2fx memcpy of one frame (%.2f ms), %.0f pictures/s\n", name, ms,
                ms / copy, copy, 1000 / ms);
  }
  benchmark::Shutdown();
}
