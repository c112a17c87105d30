#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "macos/system/MainLoopCore.h"
#include "support/LoopContract.h"

using namespace turnlet;
using macos::MainLoopCore;
using macos::TimerSlack;

namespace {

// The application's run loop around MainLoopCore, driven the way AppMainLoop drives it (one
// signalled source, one timer with a fire date and a tolerance), in virtual time. When the source
// is not signalled it moves the clock to the latest moment the timer may fire (its date plus its
// tolerance), so a timer that fires later than its own deadline shows. No other thread posts
// while it runs, so with neither it would sleep for ever: that fails the test instead.
class CoreLoop final : public MainLoop {
  std::atomic<bool> signalled{false};  // first, to outlive the core: dropping its work may post

 public:
  CoreLoop() : core([this] { return clock.load(); }) {}

  void post(std::function<void()> fn) override {
    if (core.post(std::move(fn))) signal();
  }
  TimerId schedule(double delaySeconds, std::function<void()> fn, double toleranceSeconds = 0) override {
    const TimerId id = core.schedule(delaySeconds, std::move(fn), toleranceSeconds);
    if (!core.inPass()) arm(core.timerArm());
    return id;
  }
  void cancel(TimerId id) override {
    core.cancel(id);
    if (!core.inPass()) arm(core.timerArm());
  }
  double now() const override { return clock; }
  bool isLoopThread() const override { return std::this_thread::get_id() == owner; }

  void run() {
    if (!core.beginRun()) return;
    stopped = false;
    while (!stopped) {
      if (takeSignal()) {
        pass();
      } else if (armed) {
        clock = std::max(clock.load(), fireAt + tolerance);
        pass();
      } else {
        ADD_FAILURE() << "the loop would sleep for ever";
        break;
      }
    }
    core.endRun();
  }
  void stop() {
    if (core.requestStop()) signal();
  }
  // What a nested run loop (a modal panel, menu tracking) does in the common modes: performs the
  // source while it is signalled.
  void runNested() {
    while (takeSignal()) pass();
  }

  MainLoopCore core;
  std::atomic<double> clock{100};
  bool armed = false;
  double fireAt = 0;
  double tolerance = 0;

 private:
  void signal() { signalled = true; }
  bool takeSignal() { return signalled.exchange(false); }
  void pass() {
    const MainLoopCore::PassEnd end = core.runPass();
    if (end.more) signal();
    arm(end.timer);
    if (end.stop) stopped = true;
  }
  void arm(const std::optional<MainLoopCore::TimerArm>& when) {
    armed = when.has_value();
    if (when) {
      fireAt = clock + when->delay;
      tolerance = when->tolerance;
    }
  }

  bool stopped = false;
  const std::thread::id owner = std::this_thread::get_id();
};

}  // namespace

TEST(MacMainLoop, KeepsTheLoopContract) {
  CoreLoop loop;
  loopcontract::postsThenDueTimers(loop, [&loop] { loop.stop(); });
  loop.run();
  EXPECT_EQ(loop.core.pendingTimerCount(), 0u);

  CoreLoop again;
  loopcontract::stopsAndRunsAgain(again);
}

TEST(MacMainLoop, FiresEveryTimerWithinItsOwnToleranceAndNoEarlier) {
  // The platform timer is armed for the earliest timer; it may fire only as late as the tightest
  // deadline of all pending timers, not as late as the earliest one's own tolerance allows.
  CoreLoop loop;
  struct Row {
    const char* name;
    double delay;
    double tolerance;
  };
  const std::vector<Row> rows = {
      {"loose, earliest", 1.0, 0.5}, {"tight, later", 1.2, 0.05}, {"exact", 3.0, 0.0},
      {"loose, same time", 3.0, 1.0}, {"NaN tolerance", 5.0, std::numeric_limits<double>::quiet_NaN()},
      {"negative tolerance", 6.0, -1.0}, {"infinite tolerance, alone", 7.0, std::numeric_limits<double>::infinity()},
  };
  const double start = loop.now();
  std::vector<std::string> fired;
  for (const Row& row : rows) {
    loop.schedule(row.delay, [&, row] {
      const double late = loop.now() - (start + row.delay);
      const double allowed = std::isfinite(row.tolerance) && row.tolerance > 0 ? row.tolerance : 0;
      EXPECT_GE(late, 0) << row.name;
      EXPECT_LE(late, allowed + 1e-9) << row.name;
      fired.push_back(row.name);
      if (fired.size() == rows.size()) loop.stop();
    }, row.tolerance);
  }
  loop.run();
  EXPECT_EQ(fired.size(), rows.size());

  // A cancelled timer no longer narrows the window; one that never falls due arms nothing.
  CoreLoop other;
  other.schedule(1.0, [] {}, 0.5);
  other.cancel(other.schedule(1.1, [] {}, 0.0));
  ASSERT_TRUE(other.armed);
  EXPECT_DOUBLE_EQ(other.tolerance, 0.5);
  CoreLoop never;
  never.schedule(std::numeric_limits<double>::infinity(), [] {});
  EXPECT_FALSE(never.armed);

  // What fired does not pile up: entries due before the earliest pending one are forgotten.
  TimerSlack slack;
  slack.add(1, 1, 0);
  slack.add(2, 3, 0.5);
  EXPECT_DOUBLE_EQ(slack.window(3.0)->tolerance, 0.5);
  EXPECT_EQ(slack.size(), 1u);
  EXPECT_FALSE(slack.window(std::nullopt));
  EXPECT_EQ(slack.size(), 0u);
}

TEST(MacMainLoop, WorkInANestedRunLoopGoesOnInOrderAndRunsOnce) {
  // A menu or modal panel opened from posted work runs the loop again inside it, in a mode the
  // source is registered in: the posts queued meanwhile run there, once, in order.
  CoreLoop loop;
  std::vector<std::string> log;
  loop.post([&] {
    log.push_back("modal opens");
    loop.post([&] { log.push_back("posted while modal"); });
    loop.runNested();
    log.push_back("modal closes");
  });
  loop.post([&] { log.push_back("queued before"); });
  loop.post([&] { loop.stop(); });
  loop.run();
  EXPECT_EQ(log, (std::vector<std::string>{"modal opens", "queued before", "posted while modal", "modal closes"}));
}

TEST(MacMainLoop, DroppingTheLoopEndsWhatItHeld) {
  auto held = std::make_shared<int>(0);
  {
    CoreLoop loop;
    loop.post([held] {});
    loop.schedule(5, [held] {});
    // A capture whose end posts again: the loop drops that too, without waiting on itself.
    auto again = std::shared_ptr<void>(nullptr, [&loop, held](void*) { loop.post([held] {}); });
    loop.post([again] {});
    again.reset();
    EXPECT_EQ(held.use_count(), 4);
  }
  EXPECT_EQ(held.use_count(), 1);
}
