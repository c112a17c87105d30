#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "app/TurnletApp.h"
#include "host/FileDefaults.h"
#include "host/IcuTextServices.h"
#include "host/RunLoop.h"
#include "host/SignalWatcher.h"
#include "host/StderrLog.h"
#include "host/ThreadSerialQueue.h"
#include "sim/MemoryDefaults.h"
#include "sim/RecordingApplication.h"
#include "sim/World.h"
#include "sim/WorldFile.h"
#include "touch/TouchInput.h"

int main(int argc, char** argv) {
  using namespace turnlet;
  std::vector<std::string> arguments(argv, argv + argc);

  // On this machine the Mac is simulated; TURNLET_WORLD describes it, else the built-in world.
  sim::WorldDescription description;
  try {
    const char* path = std::getenv("TURNLET_WORLD");
    description = path && *path ? sim::loadWorldFile(path) : sim::defaultWorld();
  } catch (const sim::WorldFileError& e) {
    std::cerr << "turnlet: TURNLET_WORLD " << e.what() << '\n';
    return 1;
  }

  host::RunLoop loop;
  sim::World world(loop, description);
  return TurnletApp::main(arguments, world.displays, std::cout, [&] {
    std::cerr << "turnlet: no front end is built; the application runs on the simulated Mac with a toolkit that "
                 "shows nothing. Press Control-C to quit.\n";
    host::IcuTextServices text;
    host::ThreadQueueFactory queues;
    host::StderrLog log;
    // The user's choices persist in this machine's defaults file; in memory only without a home.
    sim::MemoryDefaults memory;
    std::optional<host::FileDefaults> file;
    if (auto location = host::FileDefaults::standardLocation()) file.emplace(*location, log);
    UserDefaults& defaults = file ? static_cast<UserDefaults&>(*file) : memory;
    sim::RecordingApplication application([&] { loop.run(); }, [&] { loop.stop(); });
    auto delegate = AppDelegate::make(
        {application, defaults,
         RotationSession::Services{loop, queues, world.displays, text, world.virtualDisplayClasses, world.gpu,
                                   world.windows, world.capture, world.workspace, world.permissions, world.system, log,
                                   TouchInput::factory({loop, queues, world.displays, world.permissions, world.system,
                                                        world.inputEvents, world.windowList, world.accessibility,
                                                        world.gestures, world.libraries, log})},
         [&] { return BrightnessFollower::make(loop, world.displays, text, world.windows, world.libraries); }});
    host::SignalWatcher signals(loop, [&](int) { delegate->terminationSignal(); });
    TurnletApp::runApplication(application, delegate);
  });
}
