#pragma once

#include <memory>

#include "app/AppDelegate.h"
#include "platform/Application.h"
#include "platform/Log.h"
#include "platform/SerialQueue.h"
#include "platform/TextServices.h"
#include "platform/UserDefaults.h"
#include "sim/world/World.h"
#include "simulator/SimulatorWindow.h"

namespace turnlet::simulator {

// The program on the simulated Mac with the window that shows it: the world, the application
// delegate (touch input and brightness following included) on the given application toolkit and
// main loop, and the simulator window. A QApplication must exist first. Main loop only.
class Simulator {
 public:
  struct Services {
    MainLoop& loop;
    Application& application;
    QueueFactory& queues;
    TextServices& text;
    UserDefaults& defaults;
    Log& log;
  };

  Simulator(Services services, const sim::WorldDescription& description);
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Runs the application: it finishes launching, then runs the loop (a virtual loop returns).
  void launch();

  sim::World world;
  AppDelegate& delegate() const { return *app; }
  // Shows in the window a beep that refused `request` ("Quit"), with the program's status.
  void beeped(const std::string& request);
  SimulatorWindow& window() const { return *shown; }

 private:
  Services services;
  std::shared_ptr<AppDelegate> app;
  std::unique_ptr<SimulatorWindow> shown;
};

}  // namespace turnlet::simulator
