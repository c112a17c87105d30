#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "display/AppFailure.h"
#include "host/IcuTextServices.h"
#include "session/RotationSession.h"
#include "sim/system/LoopSerialQueue.h"
#include "sim/system/ManualLoop.h"
#include "sim/system/MemoryDefaults.h"
#include "sim/system/RecordingLog.h"
#include "sim/world/World.h"
#include "session/ThrowingPlatform.h"

namespace turnlet {

struct FakeTouch : TouchInputControl {
  explicit FakeTouch(ThrowPlan* plan = nullptr) : plan(plan) {}
  void stop() override {
    if (plan) plan->at("stopTouch");
  }
  std::optional<TaskHandle> motionStopTask() const override { return std::nullopt; }
  void setOnAccessLost(std::function<void()>) override {}
  ThrowPlan* plan;
};

// A small simulated Mac (a 40 × 30 main display, a 16 × 12 iPad to its right) whose capture, GPU
// and display queues run on the main loop, so virtual time alone drives everything; `throws` arms a
// throw at one of the session's platform calls. Quits at the end, so nothing of the session
// outlives the simulated Mac.
class SessionFixture {
 public:
  static constexpr DisplayID ipadID = 2;
  static inline const std::string ipadUUID = "IPAD-1";

  static sim::WorldDescription smallWorld(Rect main = Rect(0, 0, 40, 30), Rect ipad = Rect(40, 0, 16, 12)) {
    return {{{1, "Built-in Retina Display", main, 1552, 0, 0, true, false, "MAC-1"},
             {ipadID, "iPad", ipad, 1234, 0, 0, false, false, ipadUUID}},
            1};
  }

  explicit SessionFixture(const sim::WorldDescription& description = smallWorld()) : world(loop, description) {
    world.gpu.setWorkerQueue(std::make_unique<sim::LoopSerialQueue>("gpu", loop));
    world.gpu.setDisplayQueue(std::make_unique<sim::LoopSerialQueue>("display", loop));
    static host::IcuTextServices text;
    session = RotationSession::make(
        {loop, displays, text, world.virtualDisplayClasses, world.gpu, windows, capture, workspace, permissions,
         world.system, log,
         [this](GpuView&, DisplayID, DisplayID, QuarterTurn) -> std::shared_ptr<TouchInputControl> {
           throws.at("makeTouchInput");
           if (touchError) throw AppFailure(*touchError);
           return std::make_shared<FakeTouch>(&throws);
         }},
        RotationPreferences(defaults));
  }
  ~SessionFixture() {
    spawn(loop, session->shutdown());
    loop.advance(10);
  }

  const RotationSession::State& state() const { return session->state(); }
  void press(Task<void> command) { spawn(loop, std::move(command)); }
  void run(double seconds) { loop.advance(seconds); }
  Rect ipadBounds() const { return world.displays.find(ipadID) ? world.displays.find(ipadID)->bounds : Rect(); }

  // Nothing of a rotation is left: no virtual display object, stream, window or fade.
  static void expectNothingRotated(const sim::World& world, const RotationSession::State& state, Point ipadOrigin) {
    EXPECT_EQ(world.virtualDisplayClasses.liveDisplayObjects() + world.capture.liveStreams(), 0);
    EXPECT_TRUE(world.windows.windows().empty());
    EXPECT_TRUE(!state.virtualDisplay && !state.capture && !state.renderer && !state.presentation &&
                !state.rotationFade && !state.target && !state.captureQueue && !state.busy);
    EXPECT_EQ(state.rotation, QuarterTurn::normal);
    EXPECT_TRUE(!world.displays.find(ipadID) || world.displays.find(ipadID)->bounds.origin == ipadOrigin);
  }
  void expectNothingRotated(const Point& ipadOrigin) const { expectNothingRotated(world, state(), ipadOrigin); }

  sim::ManualLoop loop;
  sim::World world;
  sim::LoopQueueFactory queues{loop};
  sim::MemoryDefaults defaults;
  sim::RecordingLog log;
  ThrowPlan throws;
  ThrowingDisplays displays{world.displays, throws};
  ThrowingPermissions permissions{world.permissions, throws};
  ThrowingCapture capture{world.capture, throws};
  ThrowingWindows windows{world.windows, throws};
  ThrowingWorkspace workspace{world.workspace, throws};
  std::optional<std::string> touchError;
  std::shared_ptr<RotationSession> session;
};

}  // namespace turnlet
