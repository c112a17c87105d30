#pragma once

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <memory>

#include "host/IcuTextServices.h"
#include "host/ThreadSerialQueue.h"
#include "qt/QtApplication.h"
#include "qt/QtMainLoop.h"
#include "sim/system/MemoryDefaults.h"
#include "sim/system/RecordingLog.h"
#include "simulator/Simulator.h"

namespace turnlet::bench {

// The application in the simulator window as a person runs it, for the Qt benchmarks: Qt's event
// loop (the offscreen platform unless QT_QPA_PLATFORM says otherwise), real time, the simulated
// GPU and display on threads of their own, the window at 1600 × 980. One per process.
class QtBenchApp {
 public:
  QtBenchApp(int& argc, char** argv, const sim::WorldDescription& description)
      : qt(argc, argv),
        application(*bar, [this] { loop.run(); }, [this] { loop.stop(); }),
        simulator({loop, application, queues, text, defaults, log}, description),
        world(simulator.world) {
    world.gpu.setWorkerQueue(std::make_unique<host::ThreadSerialQueue>("sim.gpu"));
    world.gpu.setDisplayQueue(std::make_unique<host::ThreadSerialQueue>("sim.display"));
    simulator.window().adoptMenuBar(bar);
    simulator.window().resize(1600, 980);
    simulator.window().show();
  }

  // Once launched, the user chooses the item (such as "Rotate") in the status menu.
  void chooseInStatusMenu(const QString& item) {
    loop.post([this, item] {
      auto* status = bar->cornerWidget()->findChild<QToolButton*>();
      for (QAction* action : status->menu()->actions())
        if (action->text() == item) action->trigger();
    });
  }

  QApplication qt;
  qt::QtMainLoop loop;
  host::IcuTextServices text;
  host::ThreadQueueFactory queues;
  sim::RecordingLog log;
  sim::MemoryDefaults defaults;
  QMenuBar* bar = new QMenuBar;  // the simulator window's once adopted
  qt::QtApplication application;
  simulator::Simulator simulator;
  sim::World& world;
};

}  // namespace turnlet::bench
