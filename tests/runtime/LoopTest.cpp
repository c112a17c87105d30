#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "host/MonotonicClock.h"
#include "host/RunLoop.h"
#include "host/ThreadSerialQueue.h"
#include "runtime/RepeatingTimer.h"
#include "sim/system/ManualLoop.h"
#include "sim/system/ManualSerialQueue.h"
#include "support/LoopContract.h"

using namespace turnlet;

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// Runs scenario(loop, done) on each loop: done() ends the run (the real loop stops; the virtual
// one runs out of work within the second it is given).
void onBothLoops(const std::function<void(MainLoop&, std::function<void()>)>& scenario) {
  {
    SCOPED_TRACE("sim::ManualLoop");
    sim::ManualLoop loop;
    scenario(loop, [] {});
    loop.advance(1);
  }
  SCOPED_TRACE("host::RunLoop");
  host::RunLoop loop;
  scenario(loop, [&loop] { loop.stop(); });
  loop.run();
}

}  // namespace

TEST(MainLoop, RunsPostsFromAnyThreadInOrderThenTimersByDueTimeEvenWhilePostsKeepComing) {
  onBothLoops(loopcontract::postsThenDueTimers);
}

TEST(MainLoop, EdgeCasesOnceFound) {
  host::RunLoop loop;
  loopcontract::stopsAndRunsAgain(loop);

  // A deadline past what the clock's nanoseconds can hold used to make the wait return at once,
  // so the loop spun at full speed holding its lock.
  for (double seconds : {1e10, 1e300, infinity}) EXPECT_EQ(host::boundedWait(seconds).count(), 3600) << seconds;
  for (double seconds : {-5.0, std::numeric_limits<double>::quiet_NaN()})
    EXPECT_EQ(host::boundedWait(seconds).count(), 0);
  EXPECT_DOUBLE_EQ(host::boundedWait(0.25).count(), 0.25);

  sim::ManualLoop manual;  // an infinite timer never fires, even given unlimited time
  bool fired = false;
  manual.schedule(infinity, [&] { fired = true; });
  EXPECT_FALSE(manual.runUntil([&] { return fired; }, infinity));
  manual.advance(infinity);
  EXPECT_FALSE(fired);
  EXPECT_TRUE(std::isfinite(manual.now()));
}

TEST(RepeatingTimer, FiresOnItsGridSkipsMissedFiresAndMayBeStoppedByItsOwnCallback) {
  sim::ManualLoop loop;
  std::vector<double> fired;
  std::unique_ptr<RepeatingTimer> timer;
  timer = std::make_unique<RepeatingTimer>(loop, 1.0, 0.2, [&] {
    fired.push_back(loop.now());
    if (fired.size() == 6) timer.reset();
  });
  loop.advance(3.5);
  // The loop is blocked for 2.7 s: the fires due at 4, 5 and 6 collapse into one late fire, and
  // the next one is back on the grid.
  loop.stall(2.7);
  loop.advance(0.8);
  EXPECT_EQ(fired, (std::vector<double>{1, 2, 3, 6.2, 7}));
  loop.advance(5);
  EXPECT_EQ(fired.size(), 6u);
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
  int spins = 0;
  RepeatingTimer degenerate(loop, std::numeric_limits<double>::quiet_NaN(), -1, [&] { ++spins; });
  loop.advance(0.001);
  EXPECT_TRUE(spins > 0 && spins <= 10) << spins;
}

TEST(ManualSerialQueue, RunsInOrderWhenDrainedFollowsVirtualTimeAndMayBeDestroyedByItsWork) {
  sim::ManualLoop loop;
  sim::ManualQueueFactory factory(loop);
  auto queue = factory.makeSerialQueue("frames", QualityOfService::userInteractive);
  std::vector<std::string> log;
  for (const char* name : {"a", "b"}) queue->async([&log, name] { log.push_back(name); });
  queue->asyncAfter(1, [&] { queue.reset(); });
  queue->asyncAfter(1, [&] { log.push_back("after the queue was destroyed"); });
  EXPECT_EQ(factory.drainAll(), 2u);
  loop.advance(1);
  EXPECT_EQ(factory.drainAll(), 1u);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
}

TEST(ThreadSerialQueue, RunsSeriallyOffTheCallingThreadInSubmissionOrderAndMayBeReleasedByItsWork) {
  std::vector<int> order;
  std::atomic<int> concurrent{0};
  std::atomic<bool> overlappedOrOnCaller{false}, done{false};
  {
    host::ThreadSerialQueue queue("test.serial");
    std::vector<std::thread> producers;
    for (int p = 0; p < 4; ++p) {
      producers.emplace_back([&, p, caller = std::this_thread::get_id()] {
        for (int i = 0; i < 250; ++i) {
          queue.async([&, caller, value = p * 1000 + i] {
            if (++concurrent > 1 || std::this_thread::get_id() == caller) overlappedOrOnCaller = true;
            order.push_back(value);  // unlocked: the queue runs one function at a time
            --concurrent;
          });
        }
      });
    }
    for (auto& t : producers) t.join();
    queue.asyncAfter(0, [&] { done = true; });
    while (!done) std::this_thread::yield();
  }
  EXPECT_FALSE(overlappedOrOnCaller);
  ASSERT_EQ(order.size(), 1000u);
  std::vector<int> last(4, -1);  // each producer's items keep their order
  for (int v : order) EXPECT_GT(v % 1000, std::exchange(last[v / 1000], v % 1000));
  // A queue released by its own work ends cleanly.
  std::atomic<bool> gone{false};
  struct Owner {
    std::atomic<bool>& gone;
    std::unique_ptr<SerialQueue> queue = std::make_unique<host::ThreadSerialQueue>("owner");
    ~Owner() { queue.reset(), gone = true; }  // on the queue's own worker thread
  };
  auto owner = std::make_shared<Owner>(gone);
  owner->queue->async([owner] {});
  owner.reset();
  while (!gone) std::this_thread::yield();
}
