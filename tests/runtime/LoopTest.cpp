#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/MonotonicClock.h"
#include "host/RunLoop.h"
#include "host/ThreadSerialQueue.h"
#include "runtime/RepeatingTimer.h"
#include "sim/ManualLoop.h"
#include "sim/ManualSerialQueue.h"

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

struct Streams {
  int hops = 0, rearms = 0, hopsBeforeTimer = -1, rearmsBeforePost = -1;
  std::function<void()> done;
  void finishWhenBothRan() {
    if (hopsBeforeTimer < 0 || rearmsBeforePost < 0) return;
    EXPECT_LE(hopsBeforeTimer, 2);
    EXPECT_LE(rearmsBeforePost, 2);
    done();
  }
};

// Work that posts itself again, and a timer that re-arms itself at zero delay, until the other
// stream's counterpart has had its turn.
void hop(MainLoop& loop, std::shared_ptr<Streams> s) {
  if (s->hopsBeforeTimer < 0 && ++s->hops < 100000) loop.post([&loop, s] { hop(loop, s); });
}
void rearm(MainLoop& loop, std::shared_ptr<Streams> s) {
  if (s->rearmsBeforePost < 0 && ++s->rearms < 100000) loop.schedule(0, [&loop, s] { rearm(loop, s); });
}

}  // namespace

TEST(MainLoop, RunsPostsFromAnyThreadInOrderAndTimersByDueTime) {
  onBothLoops([](MainLoop& loop, std::function<void()> done) {
    auto log = std::make_shared<std::vector<std::string>>();
    std::thread([&loop, log] {
      for (const char* name : {"a", "b"}) loop.post([log, name] { log->push_back(name); });
    }).join();
    loop.schedule(0.002, [&loop, log, done] {
      EXPECT_TRUE(loop.isLoopThread());
      EXPECT_EQ(*log, (std::vector<std::string>{"a", "b", "t1"}));
      done();
    });
    loop.schedule(0.001, [log] { log->push_back("t1"); });
    loop.cancel(loop.schedule(0, [log] { log->push_back("cancelled"); }));
  });
}

TEST(MainLoop, DueTimersGetTheirTurnWhilePostsKeepComingAndTheOtherWayRound) {
  // A task resuming itself through post() used to hold off a due timer for as long as it ran.
  onBothLoops([](MainLoop& loop, std::function<void()> done) {
    auto s = std::make_shared<Streams>();
    s->done = std::move(done);
    loop.schedule(0, [s] {
      s->hopsBeforeTimer = s->hops;
      s->finishWhenBothRan();
    });
    hop(loop, s);
    rearm(loop, s);
    loop.post([s] {
      s->rearmsBeforePost = s->rearms;
      s->finishWhenBothRan();
    });
  });
}

TEST(MainLoop, EdgeCasesOnceFound) {
  host::RunLoop loop;
  loop.stop();
  loop.run();  // a stop() before run() used to be lost, and run() blocked for ever
  bool ranAfterRestart = false;
  loop.post([&] { ranAfterRestart = loop.isLoopThread(), loop.stop(); });
  loop.run();
  EXPECT_TRUE(ranAfterRestart);

  // A deadline past what the clock's nanoseconds can hold used to make the wait return at once,
  // so the loop spun at full speed holding its lock.
  for (double seconds : {1e10, 1e300, infinity}) {
    EXPECT_GT(host::boundedWait(seconds).count(), 1) << seconds;
    EXPECT_LE(host::boundedWait(seconds).count(), 3600) << seconds;
  }
  EXPECT_EQ(host::boundedWait(-5).count(), 0);
  EXPECT_EQ(host::boundedWait(std::numeric_limits<double>::quiet_NaN()).count(), 0);
  EXPECT_DOUBLE_EQ(host::boundedWait(0.25).count(), 0.25);

  sim::ManualLoop manual;  // an infinite timer never fires, even given unlimited time
  bool fired = false;
  manual.schedule(infinity, [&] { fired = true; });
  EXPECT_FALSE(manual.runUntil([&] { return fired; }, infinity));
  manual.advance(infinity);
  EXPECT_FALSE(fired);
  EXPECT_TRUE(std::isfinite(manual.now()));
}

TEST(RepeatingTimer, FiresOnItsGridSkipsMissedFiresAndStopsWhenInvalidated) {
  sim::ManualLoop loop;
  std::vector<double> fired;
  RepeatingTimer timer(loop, 1.0, 0.2, [&] { fired.push_back(loop.now()); });
  EXPECT_DOUBLE_EQ(timer.tolerance(), 0.2);
  loop.advance(3.5);
  EXPECT_EQ(fired, (std::vector<double>{1, 2, 3}));
  // The loop is blocked for 2.7 s: the fires due at 4, 5 and 6 collapse into one late fire, and
  // the next one is back on the grid.
  loop.stall(2.7);
  loop.runUntilIdle();
  loop.advance(0.8);
  EXPECT_EQ(fired, (std::vector<double>{1, 2, 3, 6.2, 7}));
  timer.invalidate();
  EXPECT_FALSE(timer.isValid());
  loop.advance(5);
  EXPECT_EQ(fired.size(), 5u);
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
}

TEST(RepeatingTimer, CallbackMayInvalidateOrDestroyItsOwnTimerAndBadIntervalsDoNotSpin) {
  sim::ManualLoop loop;
  int fires = 0, selfStops = 0, spins = 0;
  std::unique_ptr<RepeatingTimer> timer;
  timer = std::make_unique<RepeatingTimer>(loop, 0.5, 0, [&] {
    if (++fires == 2) timer.reset();
  });
  RepeatingTimer* raw = nullptr;
  RepeatingTimer stopper(loop, 1, 0, [&] { ++selfStops, raw->invalidate(); });
  raw = &stopper;
  loop.advance(10);
  EXPECT_EQ(fires, 2);
  EXPECT_EQ(selfStops, 1);
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
  RepeatingTimer degenerate(loop, std::numeric_limits<double>::quiet_NaN(), -1, [&] { ++spins; });
  loop.advance(0.001);
  EXPECT_GT(spins, 0);
  EXPECT_LE(spins, 10);
}

TEST(ManualSerialQueue, RunsInOrderWhenDrainedFollowsVirtualTimeAndMayBeDestroyedByItsWork) {
  sim::ManualLoop loop;
  sim::ManualQueueFactory factory(loop);
  auto queue = factory.makeSerialQueue("local.turnlet.frames", QualityOfService::userInteractive);
  std::vector<std::string> log;
  queue->asyncAfter(1, [&] { log.push_back("late"); });
  queue->async([&] { log.push_back("a"); });
  queue->async([&] { log.push_back("b"); });
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(factory.drainAll(), 2u);
  loop.advance(1);
  EXPECT_EQ(factory.queue("local.turnlet.frames")->drain(), 1u);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "late"}));
  EXPECT_EQ(factory.created().at(0).second, QualityOfService::userInteractive);
  queue->async([&] { queue.reset(); });
  queue->async([&] { log.push_back("after the queue was destroyed"); });
  factory.drainAll();
  EXPECT_EQ(log.size(), 3u);
  EXPECT_EQ(factory.queue("local.turnlet.frames"), nullptr);
}

TEST(ThreadSerialQueue, RunsSeriallyOffTheCallingThreadInSubmissionOrder) {
  std::vector<int> order;
  std::atomic<int> concurrent{0};
  std::atomic<bool> overlapped{false}, onCaller{false}, done{false};
  {
    host::ThreadQueueFactory factory;
    auto queue = factory.makeSerialQueue("test.serial", QualityOfService::utility);
    EXPECT_EQ(queue->label(), "test.serial");
    std::vector<std::thread> producers;
    const auto caller = std::this_thread::get_id();
    for (int p = 0; p < 4; ++p) {
      producers.emplace_back([&, p] {
        for (int i = 0; i < 250; ++i) {
          queue->async([&, value = p * 1000 + i] {
            if (++concurrent > 1) overlapped = true;
            if (std::this_thread::get_id() == caller) onCaller = true;
            order.push_back(value);  // unlocked: the queue runs one function at a time
            --concurrent;
          });
        }
      });
    }
    for (auto& t : producers) t.join();
    queue->asyncAfter(0, [&] { done = true; });
    while (!done) std::this_thread::yield();
  }
  EXPECT_FALSE(overlapped);
  EXPECT_FALSE(onCaller);
  ASSERT_EQ(order.size(), 1000u);
  std::vector<int> last(4, -1);  // each producer's items keep their order
  for (int v : order) {
    EXPECT_GT(v % 1000, last[v / 1000]);
    last[v / 1000] = v % 1000;
  }
}

TEST(ThreadSerialQueue, AQueueReleasedByItsOwnWorkEndsCleanly) {
  struct Owner {
    std::unique_ptr<SerialQueue> queue = std::make_unique<host::ThreadSerialQueue>("owner");
    std::atomic<bool>* gone;
    ~Owner() {
      queue.reset();  // on the queue's own worker thread
      *gone = true;
    }
  };
  std::atomic<bool> gone{false};
  {
    auto owner = std::make_shared<Owner>();
    owner->gone = &gone;
    owner->queue->async([owner] {});
  }
  while (!gone) std::this_thread::yield();
}
