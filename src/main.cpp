#include <QApplication>
#include <QMenuBar>
#include <QScreen>

#include <cstdlib>
#include <memory>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/SelfTest.h"
#include "app/TurnletApp.h"
#include "host/FileDefaults.h"
#include "host/IcuTextServices.h"
#include "host/RunLoop.h"
#include "host/RunningCopy.h"
#include "host/SignalWatcher.h"
#include "host/StderrLog.h"
#include "host/ThreadSerialQueue.h"
#include "qt/QtApplication.h"
#include "qt/QtMainLoop.h"
#include "qt/QtMessageFilter.h"
#include "sim/system/MemoryDefaults.h"
#include "sim/world/World.h"
#include "sim/world/WorldFile.h"
#include "simulator/Simulator.h"

namespace {

using namespace turnlet;

bool hasDisplayServer() {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
  };
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// The application on the simulated Mac, shown in the simulator window, on Qt's event loop, or,
// when a copy already runs for the same settings, a reopen of that copy. It ends when the
// application terminates: Quit, the window's close button, SIGINT or SIGTERM, each
// through the application's terminate request, so the iPad is put back first.
int runFrontEnd(int argc, char** argv, const sim::WorldDescription& description) {
  // One running copy per settings file: a second launch reopens the first, as a Dock click does.
  std::unique_ptr<host::RunningCopy> running;
  const auto location = host::FileDefaults::standardLocation();
  if (location && !(running = host::RunningCopy::claim(*location))) {
    if (host::RunningCopy::askToReopen(*location)) return 0;
    std::cerr << "turnlet: another copy is running and did not answer; quit it first.\n";
    return 1;
  }
  if (!hasDisplayServer()) {
    std::cerr << "turnlet: there is no display to show the simulator window on (neither DISPLAY nor "
                 "WAYLAND_DISPLAY is set). scripts/demo runs a tour of the program without one and writes "
                 "its pictures.\n";
    return 1;
  }
  qt::QtMessageFilter::install();
  QApplication qt(argc, argv);
  qt::QtMainLoop loop;
  host::IcuTextServices text;
  host::ThreadQueueFactory queues;
  host::StderrLog log;
  // The user's choices persist in this machine's defaults file; in memory only without a home.
  sim::MemoryDefaults memory;
  std::optional<host::FileDefaults> file;
  if (location) file.emplace(*location, log);
  UserDefaults& defaults = file ? static_cast<UserDefaults&>(*file) : memory;

  auto* bar = new QMenuBar;  // the simulator window takes it
  qt::QtApplication application(*bar, [&] { loop.run(); }, [&] { loop.stop(); });
  simulator::Simulator simulator({loop, application, queues, text, defaults, log}, description);
  // The simulated GPU and display work on threads of their own, as on the Mac.
  simulator.world.gpu.setWorkerQueue(std::make_unique<host::ThreadSerialQueue>("sim.gpu"));
  simulator.world.gpu.setDisplayQueue(std::make_unique<host::ThreadSerialQueue>("sim.display"));
  simulator.window().adoptMenuBar(bar);
  // At the screen's top-left corner rather than where a window manager would put it, so that the
  // control window, made at launch, opens beside it.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    simulator.window().move(screen->availableGeometry().topLeft());
  application.setWindowPlacement([&simulator](QWidget& window) { simulator.window().placeBeside(window); });
  application.onBeep = [&simulator](const std::string& refused) { simulator.beeped(refused); };
  simulator.window().show();
  host::SignalWatcher signals(loop, [&](int) { simulator.delegate().terminationSignal(); });
  if (running) running->listen(loop, [&application] { application.reopen(); });
  simulator.launch();
  running.reset();  // its reader posts to the loop: it goes first
  return 0;
}

// The self-test on the simulated Mac the world describes, in real time, its GPU and display on
// threads of their own as in the application. SIGINT and SIGTERM end it, after its display is
// removed. The exit status is the test's.
int runSelfTest(const CommandLine& line, const sim::WorldDescription& description) {
  host::RunLoop loop;
  host::IcuTextServices text;
  host::StderrLog log;
  sim::MemoryDefaults memory;
  std::optional<host::FileDefaults> file;
  if (auto location = host::FileDefaults::standardLocation()) file.emplace(*location, log);
  UserDefaults& defaults = file ? static_cast<UserDefaults&>(*file) : memory;
  sim::World world(loop, description);
  world.gpu.setWorkerQueue(std::make_unique<host::ThreadSerialQueue>("sim.gpu"));
  world.gpu.setDisplayQueue(std::make_unique<host::ThreadSerialQueue>("sim.display"));
  std::function<void()> interrupt;
  host::SignalWatcher signals(loop, [&interrupt](int) {
    if (interrupt) interrupt();
  });
  return SelfTest::main({loop, world.displays, text, defaults, world.virtualDisplayClasses, world.permissions,
                         world.system, world.libraries, world.capture, world.gpu, world.inputEvents},
                        line, std::cout, TurnletApp::version(), interrupt, [&] { loop.run(); }, [&] { loop.stop(); },
                        log);
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine line = CommandLine::parse(std::vector<std::string>(argv, argv + argc));
  if (TurnletApp::answerAtOnce(line, std::cout)) return 0;

  // On this machine the Mac is simulated; TURNLET_WORLD describes it, else the built-in world.
  sim::WorldDescription description;
  try {
    const char* path = std::getenv("TURNLET_WORLD");
    description = path && *path ? sim::loadWorldFile(path) : sim::defaultWorld();
  } catch (const sim::WorldFileError& e) {
    std::cerr << "turnlet: TURNLET_WORLD " << e.what() << '\n';
    return 1;
  }

  if (line.mode == CommandLine::Mode::application) return runFrontEnd(argc, argv, description);
  if (line.mode == CommandLine::Mode::selfTest) return runSelfTest(line, description);
  host::RunLoop loop;
  sim::World world(loop, description);
  return TurnletApp::main(line, world.displays, std::cout, {});
}
