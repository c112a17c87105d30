// The capture's surface pool against a GPU that falls behind, in virtual time: the simulated
// capture streams a desktop that changes every frame at 60 per second into a pool of queueDepth
// surfaces, the screen renderer holds the newest frame and up to two on the GPU, and the simulated
// GPU finishes each command buffer a fixed lag after the previous one (0, 8, 16 and 24 ms). For
// each lag and depth it counts the frames the stream had to drop for want of a free surface, and
// the frames presented, over TURNLET_BENCH_POOL_SECONDS (10 s) of virtual time after a second of
// warm-up. The baseline of each row is the capture rate of the same run.

#include <cstdio>
#include <memory>
#include <vector>

#include "RunClock.h"
#include "render/ScreenRenderer.h"
#include "sim/capture/SimCapture.h"
#include "sim/gpu/SimGpuView.h"
#include "sim/system/ManualLoop.h"
#include "sim/world/World.h"

using namespace turnlet;

namespace {

constexpr double warmUpSeconds = 1;
constexpr double stepSeconds = 0.001;

struct PoolResult {
  double captured = 0;
  double dropped = 0;
  double presented = 0;
  double updated = 0;
};

PoolResult runPool(double lagSeconds, std::int64_t queueDepth, double seconds) {
  sim::ManualLoop loop;
  sim::World world{loop};
  world.gpu.lagSeconds = lagSeconds;
  // Every frame is new and cheap: numbered pictures, no compositor.
  world.capture.pictureSource = nullptr;
  world.capture.changeCount = nullptr;

  auto renderer = ScreenRenderer::make(loop, world.gpu, QuarterTurn::right, 60);
  std::dynamic_pointer_cast<sim::SimGpuView>(renderer->view())->resizeDrawable(48, 64);
  renderer->startRendering();

  std::optional<ShareableContent> content;
  for (int fetch = 0; fetch < 2; ++fetch) {  // a display is listed from its second fetch on
    world.capture.getShareableContent(false, true, [&](auto listed, auto) { content = listed; });
    loop.advance(0.1);
  }
  StreamConfiguration configuration;
  configuration.width = 64;
  configuration.height = 48;
  configuration.queueDepth = queueDepth;
  auto stream = world.capture.makeStream(ContentFilter{content->displays.back(), {}}, configuration,
                                         renderer->streamDelegate());
  stream->addStreamOutput(renderer->streamOutput(), StreamOutputType::screen,
                          world.capture.makeSampleQueue("local.turnlet.frames", QualityOfService::userInteractive));
  stream->startCapture([](auto) {});

  auto run = [&](double span) {
    for (const double end = loop.now() + span; loop.now() < end;) {
      loop.advance(stepSeconds);
      while (loop.runUntilIdle() + world.gpu.runGpuWork() + world.gpu.runDisplayWork() > 0) {
      }
    }
  };
  run(warmUpSeconds);
  const auto before = renderer->statistics().counters();
  const double capturedBefore = double(world.capture.framesDelivered());
  const double droppedBefore = double(world.capture.framesDropped());
  run(seconds);
  const auto after = renderer->statistics().counters();
  PoolResult result{double(world.capture.framesDelivered()) - capturedBefore,
                    double(world.capture.framesDropped()) - droppedBefore, after.presentations - before.presentations,
                    after.updatedPresentations - before.updatedPresentations};
  renderer->invalidate();
  return result;
}

}  // namespace

int main() {
  const double seconds = bench::runSeconds("TURNLET_BENCH_POOL_SECONDS");
  std::printf("capture pool: %.0f s of virtual time at 60 fps captured, a desktop changing every frame\n", seconds);
  for (const double lagMs : {0.0, 8.0, 16.0, 24.0}) {
    for (const std::int64_t depth : {3, 4, 6}) {
      const PoolResult r = runPool(lagMs / 1000, depth, seconds);
      const double offered = r.captured + r.dropped;
      std::printf("summary: pool GPU lag %2.0f ms, queue depth %lld: dropped %4.0f of %4.0f frames (%.3fx), "
                  "presented %.1f fps, updated %.1f fps (%.2fx of the %.1f fps offered)\n",
                  lagMs, static_cast<long long>(depth), r.dropped, offered, offered > 0 ? r.dropped / offered : 0,
                  r.presented / seconds, r.updated / seconds, offered > 0 ? r.updated / offered : 0, offered / seconds);
    }
  }
  return 0;
}
