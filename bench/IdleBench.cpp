// What a still, turned desktop costs: the application on the default world in the simulator window
// (Qt's offscreen platform, real time, the GPU and display on threads of their own), rotated a
// quarter turn from its status menu, then left alone for 10 s (TURNLET_BENCH_IDLE_SECONDS) with
// nothing moving; against the same run never rotated. Each run is a process of its own, so that
// its peak resident memory is its own. Prints the CPU time per second of each (in percent of one
// core), the peak resident memory, and the differences.
//
// The turned run then drags a finger round on the iPad's picture in the window for 3 s (scrolling
// what is under it, so that every frame is new), lets go, and is left alone again for 5 s: its
// current resident memory (VmRSS) before the drag, at its end and after the still period says
// whether what a drag takes is given back.

#include <QCoreApplication>
#include <QMouseEvent>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "QtBenchApp.h"
#include "RunClock.h"
#include "host/MonotonicClock.h"
#include "sim/world/WorldFile.h"

using namespace turnlet;

namespace {

constexpr double warmUpSeconds = 3, dragSeconds = 3, afterDragSeconds = 5;
constexpr DisplayID ipadID = 2;

struct Result {
  double corePercent = 0;  // CPU time per second of the still period, in percent of one core
  double peakMB = 0;       // peak resident memory of the whole run
  double completeFrames = 0, idleFrames = 0;  // captured during the still period
  double beforeDragMiB = 0, endOfDragMiB = 0, afterDragMiB = 0;  // current resident memory
  double dragFrames = 0;                                         // complete frames captured during the drag
  bool ok = false;
};

// The process's current resident memory, from /proc.
double residentMiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024;  // kB
  return 0;
}

// The left button pressed on the middle of the iPad's picture, moved round a circle at 60 Hz and
// released: one finger swiping on the presentation view.
void drag(bench::QtBenchApp& app, double seconds, std::function<void()> done) {
  auto& desktop = app.simulator.window().desktop();
  const QPointF centre = QRectF(desktop.pictureRect(ipadID)).center();
  const auto send = [&desktop](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, desktop.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&desktop, &event);
  };
  send(QEvent::MouseButtonPress, centre, Qt::LeftButton);
  const int steps = int(seconds * 60);
  for (int i = 1; i <= steps; ++i) {
    app.loop.schedule(i / 60.0, [=] {
      const double turn = 2 * M_PI * i / 90.0;  // a circle every 1.5 s
      const QPointF at = centre + QPointF(std::sin(turn), 1 - std::cos(turn)) * 60;
      if (i < steps) return send(QEvent::MouseMove, at, Qt::LeftButton);
      send(QEvent::MouseButtonRelease, at, Qt::NoButton);
      done();
    });
  }
}

Result run(bool rotated, double seconds) {
  int argc = 1;
  char name[] = "idle_bench";
  char* argv[] = {name, nullptr};
  bench::QtBenchApp app(argc, argv, sim::defaultWorld());
  auto& loop = app.loop;
  auto& world = app.world;
  if (rotated) {
    app.chooseInStatusMenu("Touch Input");  // for the drag
    app.chooseInStatusMenu("Rotate");
  }
  Result result;
  double cpuStart = 0, wallStart = 0;
  std::uint64_t framesStart = 0, idleStart = 0;
  loop.schedule(warmUpSeconds, [&] {
    cpuStart = bench::processCpuSeconds(), wallStart = host::monotonicSeconds();
    framesStart = world.capture.framesDelivered(), idleStart = world.capture.idleFramesDelivered();
    result.ok = world.capture.runningStreams() == (rotated ? 1 : 0);
  });
  const auto quit = [&] { app.application.terminate(); };
  loop.schedule(warmUpSeconds + seconds, [&] {
    const double wall = host::monotonicSeconds() - wallStart;
    result.corePercent = (bench::processCpuSeconds() - cpuStart) / wall * 100;
    result.completeFrames = double(world.capture.framesDelivered() - framesStart);
    result.idleFrames = double(world.capture.idleFramesDelivered() - idleStart);
    if (!rotated) return quit();
    result.beforeDragMiB = residentMiB();
    framesStart = world.capture.framesDelivered();
    drag(app, dragSeconds, [&] {
      result.endOfDragMiB = residentMiB();
      result.dragFrames = double(world.capture.framesDelivered() - framesStart);
      loop.schedule(afterDragSeconds, [&] {
        result.afterDragMiB = residentMiB();
        quit();
      });
    });
  });
  // A quit that never ends.
  loop.schedule(warmUpSeconds + seconds + dragSeconds + afterDragSeconds + 15, [&] { loop.stop(); });
  app.simulator.launch();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  result.peakMB = double(usage.ru_maxrss) / 1024;  // kilobytes on Linux
  if (!app.application.isTerminated()) throw std::runtime_error("the application did not quit");
  if (!result.ok) throw std::runtime_error(rotated ? "the desktop was not turned" : "a capture ran unturned");
  if (rotated && result.dragFrames < 1) throw std::runtime_error("the drag changed nothing on the turned desktop");
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
  std::printf("summary: resident memory turned and still: %.1f MiB before a drag, %.1f MiB at its end (%.0f complete "
              "frames in %.0f s), %.1f MiB %.0f s after it: %+.1f MiB (target within 16)\n",
              turned.beforeDragMiB, turned.endOfDragMiB, turned.dragFrames, dragSeconds, turned.afterDragMiB,
              afterDragSeconds, turned.afterDragMiB - turned.beforeDragMiB);
  return 0;
}
