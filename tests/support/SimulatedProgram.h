#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "app/AppDelegate.h"
#include "host/IcuTextServices.h"
#include "session/SessionFixture.h"
#include "sim/system/LoopSerialQueue.h"
#include "touch/TouchInput.h"

namespace turnlet {

// The whole program on a simulated Mac (the small world unless told otherwise) with everything on
// the virtual loop, for whichever application a test drives: the world with its GPU queues on the
// loop, the standard store, a log that throws something that is no Error once armed (as a failing
// shutdown would), and the delegate made over every service.
struct SimulatedProgram {
  enum class Touch { on, off };

  explicit SimulatedProgram(const sim::WorldDescription& description = SessionFixture::smallWorld()) : world(loop, description) {
    world.gpu.setWorkerQueue(std::make_unique<sim::LoopSerialQueue>("gpu", loop));
    world.gpu.setDisplayQueue(std::make_unique<sim::LoopSerialQueue>("display", loop));
  }

  std::shared_ptr<AppDelegate> makeDelegate(Application& app, Touch touch = Touch::on) {
    static host::IcuTextServices text;
    auto touchFactory = touch == Touch::off ? TouchInput::Factory{}
                                            : TouchInput::factory({loop, queues, world.displays, world.permissions, world.system,
                                                                   world.inputEvents, world.windowList, world.accessibility,
                                                                   world.gestures, world.libraries, log});
    return AppDelegate::make(
        {app, defaults,
         {loop, world.displays, text, world.virtualDisplayClasses, world.gpu, world.windows, world.capture,
          world.workspace, world.permissions, world.system, log, std::move(touchFactory)},
         [this] { return BrightnessFollower::make(loop, world.displays, text, world.windows, world.libraries); },
         world.loginItem, world.hotKeys});
  }

  // What is left of a rotation at a moment (the application's end, say).
  struct Remains {
    int virtualDisplays = -1;
    Point ipadOrigin;
  };
  Remains remains() { return {world.virtualDisplayClasses.liveDisplayObjects(), ipadOrigin()}; }
  Point ipadOrigin() {
    for (const auto& d : world.displays.displays())
      if (d.uuid == SessionFixture::ipadUUID) return d.bounds.origin;
    return {};
  }

  sim::ManualLoop loop;
  sim::World world;
  sim::LoopQueueFactory queues{loop};
  sim::MemoryDefaults defaults;
  struct Log : sim::RecordingLog {
    bool throws = false;
    void line(const std::string& text) override { throws ? throw std::runtime_error(text) : RecordingLog::line(text); }
  } log;
};

}  // namespace turnlet
