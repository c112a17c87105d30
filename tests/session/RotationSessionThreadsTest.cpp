// The session on a real-time loop with the simulated Mac's capture calling its completions and
// delivering frames on threads of its own, and the GPU and display on theirs, as on a Mac. Meant
// for ThreadSanitizer: each row runs a few real seconds at most; time only bounds the waits.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "host/RunLoop.h"
#include "host/ThreadSerialQueue.h"
#include "session/SessionFixture.h"

using namespace turnlet;

namespace {

class ThreadedSession {
 public:
  ThreadedSession() : world(loop, SessionFixture::smallWorld()) {
    world.gpu.setWorkerQueue(std::make_unique<host::ThreadSerialQueue>("sim.gpu"));
    world.gpu.setDisplayQueue(std::make_unique<host::ThreadSerialQueue>("sim.display"));
    world.capture.runOnThreads(queues);
    static host::IcuTextServices text;
    session = RotationSession::make(
        {loop, world.displays, text, world.virtualDisplayClasses, world.gpu, world.windows, world.capture,
         world.workspace, world.permissions, world.system, log,
         [](GpuView&, DisplayID, DisplayID, QuarterTurn) -> std::shared_ptr<TouchInputControl> {
           return std::make_shared<FakeTouch>();
         }},
        RotationPreferences(defaults));
    session->startMonitoring();
  }
  ~ThreadedSession() {
    if (!quit) shutdown();
  }

  // Runs the loop until the condition holds (checked on the loop), at most that many seconds.
  bool runUntil(const std::function<bool()>& done, double limitSeconds = 10) {
    const double end = loop.now() + limitSeconds;
    bool met = false;
    std::function<void()> poll = [&] {
      if ((met = done()) || loop.now() > end) return loop.stop();
      loop.schedule(0.002, poll);
    };
    loop.post(poll);
    loop.run();
    return met;
  }
  bool command(Task<void> task) {
    const TaskHandle handle = spawn(loop, std::move(task));
    return runUntil([&] { return handle.isDone(); });
  }
  bool shutdown() {
    quit = spawn(loop, session->shutdown());
    return runUntil([&] { return quit->isDone(); });
  }
  // A Rotate whose platform call (made slow by the fault) answers after shutdown, which does not
  // wait for it.
  void answersAfterShutdown(sim::SimScreenCapture::Fault& fault, const std::function<bool()>& asked) {
    fault.extraDelaySeconds = 0.6;
    const TaskHandle rotate = spawn(loop, session->rotate());
    ASSERT_TRUE(runUntil(asked));
    const double askedAt = loop.now();
    ASSERT_TRUE(shutdown());
    EXPECT_LT(loop.now() - askedAt, 0.6) << "shutdown waited for the platform";
    expectNothingRotated();
    runUntil([] { return false; }, 0.8);  // the completion arrives on its thread
    EXPECT_TRUE(rotate.isDone());
  }
  const RotationSession::State& state() const { return session->state(); }
  void expectNothingRotated() const { SessionFixture::expectNothingRotated(world, state(), {40, 0}); }

  host::RunLoop loop;
  host::ThreadQueueFactory queues;
  sim::World world;
  sim::MemoryDefaults defaults;
  sim::RecordingLog log;
  std::shared_ptr<RotationSession> session;
  std::optional<TaskHandle> quit;
};

TEST(RotationSessionThreads, CompletionsAndFramesOnTheCaptureThreads) {
  const std::pair<const char*, std::function<void(ThreadedSession&)>> rows[] = {
      {"apply, turn again, then turn back while frames arrive during the stop",
       [](ThreadedSession& t) {
         ASSERT_TRUE(t.command(t.session->rotate()));
         EXPECT_EQ(t.state().status, "90° · Portrait");
         const auto frames = t.world.capture.framesDelivered();
         // The picture keeps changing (the pointer moves), so frames keep coming and being drawn.
         t.world.inputEvents.mouseLocation = Point{45, 5};
         ASSERT_TRUE(t.runUntil([&] { return t.world.capture.framesDelivered() > frames; }));
         ASSERT_TRUE(t.command(t.session->rotate()));
         EXPECT_EQ(t.state().status, "180° · Landscape");
         EXPECT_EQ(t.world.capture.runningStreams(), 1);
         t.world.compositor.animateBackground = true;  // every frame is a new picture
         t.world.capture.stopFault.extraDelaySeconds = 0.3;
         const auto before = t.world.capture.framesDelivered();
         ASSERT_TRUE(t.command(t.session->reset()));
         EXPECT_GE(t.world.capture.framesDelivered() - before, 10u) << "frames flowed during the teardown";
         EXPECT_EQ(t.state().status, "0° · Rotation off");
         t.expectNothingRotated();
       }},
      {"a teardown while the start is pending, which completes after shutdown",
       [](ThreadedSession& t) { t.answersAfterShutdown(t.world.capture.startFault, [&] { return t.state().capture != nullptr; }); }},
      {"a content fetch that answers after shutdown",
       [](ThreadedSession& t) { t.answersAfterShutdown(t.world.capture.fetchFault, [&] { return t.world.capture.fetchCount() == 1; }); }},
      {"a stop that fails during shutdown",
       [](ThreadedSession& t) {
         ASSERT_TRUE(t.command(t.session->rotate()));
         t.world.capture.stopFault.error = PlatformError("SC", -9, "No stop.");
         ASSERT_TRUE(t.shutdown());
         const auto lines = t.log.lines();
         EXPECT_TRUE(!lines.empty() && lines.back() == "Turnlet capture stop: No stop.");
         t.expectNothingRotated();
       }},
  };
  for (const auto& [name, run] : rows) {
    SCOPED_TRACE(name);
    ThreadedSession t;
    run(t);
    EXPECT_EQ(t.world.gpu.viewCallsOffLoop(), 0) << "the view was drawn off the main loop";
  }
}

}  // namespace
