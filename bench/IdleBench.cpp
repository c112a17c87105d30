// What a still, turned desktop costs: the application on the default world in the simulator window
// (Qt's offscreen platform, real time, the GPU and display on threads of their own), rotated a
// quarter turn from its status menu, then left alone for 10 s (TURNLET_BENCH_IDLE_SECONDS) with
// nothing moving; against the same run never rotated. Each run is a process of its own, so that
// its peak resident memory is its own. Prints the CPU time per second of each (in percent of one
// core), the peak resident memory, and the differences.

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "RunClock.h"
#include "host/IcuTextServices.h"
#include "host/MonotonicClock.h"
#include "host/ThreadSerialQueue.h"
#include "qt/QtApplication.h"
#include "qt/QtMainLoop.h"
#include "sim/system/MemoryDefaults.h"
#include "sim/system/RecordingLog.h"
#include "sim/world/WorldFile.h"
#include "simulator/Simulator.h"

using namespace turnlet;

namespace {

constexpr double warmUpSeconds = 3;

struct Result {
  double corePercent = 0;  // CPU time per second of the still period, in percent of one core
  double peakMB = 0;       // peak resident memory of the whole run
  double completeFrames = 0, idleFrames = 0;  // captured during the still period
  bool ok = false;
};

Result run(bool rotated, double seconds) {
  int argc = 1;
  char name[] = "idle_bench";
  char* argv[] = {name, nullptr};
  QApplication qt(argc, argv);
  qt::QtMainLoop loop;
  host::IcuTextServices text;
  host::ThreadQueueFactory queues;
  sim::RecordingLog log;
  sim::MemoryDefaults defaults;
  auto* bar = new QMenuBar;
  qt::QtApplication application(*bar, [&] { loop.run(); }, [&] { loop.stop(); });
  simulator::Simulator simulator({loop, application, queues, text, defaults, log}, sim::defaultWorld());
  auto& world = simulator.world;
  world.gpu.setWorkerQueue(std::make_unique<host::ThreadSerialQueue>("sim.gpu"));
  world.gpu.setDisplayQueue(std::make_unique<host::ThreadSerialQueue>("sim.display"));
  simulator.window().adoptMenuBar(bar);
  simulator.window().resize(1600, 980);
  simulator.window().show();

  if (rotated) {
    loop.post([&] {
      auto* status = bar->cornerWidget()->findChild<QToolButton*>();
      for (QAction* action : status->menu()->actions())
        if (action->text() == "Rotate") action->trigger();
    });
  }
  Result result;
  double cpuStart = 0, wallStart = 0;
  std::uint64_t framesStart = 0, idleStart = 0;
  loop.schedule(warmUpSeconds, [&] {
    cpuStart = bench::processCpuSeconds(), wallStart = host::monotonicSeconds();
    framesStart = world.capture.framesDelivered(), idleStart = world.capture.idleFramesDelivered();
    result.ok = world.capture.runningStreams() == (rotated ? 1 : 0);
  });
  loop.schedule(warmUpSeconds + seconds, [&] {
    const double wall = host::monotonicSeconds() - wallStart;
    result.corePercent = (bench::processCpuSeconds() - cpuStart) / wall * 100;
    result.completeFrames = double(world.capture.framesDelivered() - framesStart);
    result.idleFrames = double(world.capture.idleFramesDelivered() - idleStart);
    application.terminate();
  });
  loop.schedule(warmUpSeconds + seconds + 15, [&] { loop.stop(); });  // a quit that never ends
  simulator.launch();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  result.peakMB = double(usage.ru_maxrss) / 1024;  // kilobytes on Linux
  if (!application.isTerminated()) throw std::runtime_error("the application did not quit");
  if (!result.ok) throw std::runtime_error(rotated ? "the desktop was not turned" : "a capture ran unturned");
  return result;
}

// One run in a child process; its result comes back through a pipe.
Result inChild(bool rotated, double seconds) {
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("no pipe");
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("no fork");
  if (child == 0) {
    close(fds[0]);
    Result r;
    try {
      r = run(rotated, seconds);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "idle_bench: %s\n", e.what());
      r.ok = false;
    }
    const ssize_t written = write(fds[1], &r, sizeof r);
    _exit(written == ssize_t(sizeof r) ? 0 : 1);
  }
  close(fds[1]);
  Result r;
  const ssize_t got = read(fds[0], &r, sizeof r);
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (got != ssize_t(sizeof r) || !r.ok)
    throw std::runtime_error(rotated ? "the rotated run failed" : "the unrotated run failed");
  return r;
}

}  // namespace

int main() {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const double seconds = bench::runSeconds("TURNLET_BENCH_IDLE_SECONDS");
  Result flat, turned;
  try {
    flat = inChild(false, seconds);
    turned = inChild(true, seconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "idle_bench: %s\n", e.what());
    return 1;
  }
  double load[3] = {0, 0, 0};
  getloadavg(load, 3);
  std::printf("summary: idle unrotated: %.1f %% of one core, peak resident %.1f MB\n", flat.corePercent, flat.peakMB);
  std::printf("summary: idle rotated 90°, nothing moving: %.1f %% of one core, peak resident %.1f MB (captured %.0f "
              "complete and %.0f idle frames in %.0f s)\n",
              turned.corePercent, turned.peakMB, turned.completeFrames, turned.idleFrames, seconds);
  std::printf("summary: idle rotated minus unrotated: %+.1f %% of one core (target under 5), %+.1f MB; load average "
              "%.2f %.2f %.2f\n",
              turned.corePercent - flat.corePercent, turned.peakMB - flat.peakMB, load[0], load[1], load[2]);
  return 0;
}
