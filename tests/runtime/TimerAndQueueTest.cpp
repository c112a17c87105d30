#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "host/MonotonicClock.h"
#include "host/RunLoop.h"
#include "host/ThreadSerialQueue.h"
#include "runtime/RepeatingTimer.h"
#include "sim/ManualLoop.h"
#include "sim/ManualSerialQueue.h"

using namespace turnlet;

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

TEST(RepeatingTimer, CallbackMayInvalidateOrDestroyItsOwnTimer) {
  sim::ManualLoop loop;
  int fires = 0;
  std::unique_ptr<RepeatingTimer> timer;
  timer = std::make_unique<RepeatingTimer>(loop, 0.5, 0, [&] {
    if (++fires == 2) timer.reset();
  });
  loop.advance(10);
  EXPECT_EQ(fires, 2);
  EXPECT_EQ(loop.pendingTimerCount(), 0u);

  int selfStops = 0;
  RepeatingTimer* raw = nullptr;
  RepeatingTimer stopper(loop, 1, 0, [&] {
    ++selfStops;
    raw->invalidate();
  });
  raw = &stopper;
  loop.advance(5);
  EXPECT_EQ(selfStops, 1);

  int spins = 0;
  RepeatingTimer degenerate(loop, std::numeric_limits<double>::quiet_NaN(), -1, [&] { ++spins; });
  loop.advance(0.001);
  EXPECT_GT(spins, 0);
  EXPECT_LE(spins, 10);
}

TEST(ManualSerialQueue, RunsInOrderOnlyWhenDrainedAndFollowsVirtualTime) {
  sim::ManualLoop loop;
  sim::ManualQueueFactory factory(loop);
  auto queue = factory.makeSerialQueue("local.turnlet.frames", QualityOfService::userInteractive);
  std::vector<std::string> log;
  queue->asyncAfter(1, [&] { log.push_back("late"); });
  queue->async([&] { log.push_back("a"); });
  queue->async([&] { log.push_back("b"); });
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(factory.drainAll(), 2u);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
  loop.advance(1);
  EXPECT_EQ(factory.queue("local.turnlet.frames")->drain(), 1u);
  EXPECT_EQ(log.back(), "late");
  ASSERT_EQ(factory.created().size(), 1u);
  EXPECT_EQ(factory.created()[0].second, QualityOfService::userInteractive);
  queue.reset();
  EXPECT_EQ(factory.queue("local.turnlet.frames"), nullptr);
}

TEST(ThreadSerialQueue, RunsSeriallyOffTheCallingThreadInSubmissionOrder) {
  std::vector<int> order;
  std::mutex mutex;
  std::atomic<int> concurrent{0};
  std::atomic<bool> overlapped{false};
  std::thread::id workerThread;
  {
    host::ThreadQueueFactory factory;
    auto queue = factory.makeSerialQueue("test.serial", QualityOfService::utility);
    EXPECT_EQ(queue->label(), "test.serial");
    std::vector<std::thread> producers;
    for (int p = 0; p < 4; ++p) {
      producers.emplace_back([&, p] {
        for (int i = 0; i < 250; ++i) {
          queue->async([&, value = p * 1000 + i] {
            if (++concurrent > 1) overlapped = true;
            {
              std::lock_guard lock(mutex);
              order.push_back(value);
              workerThread = std::this_thread::get_id();
            }
            --concurrent;
          });
        }
      });
    }
    for (auto& t : producers) t.join();
    std::atomic<bool> done{false};
    queue->asyncAfter(0, [&] { done = true; });
    while (!done) std::this_thread::yield();
  }
  EXPECT_FALSE(overlapped);
  ASSERT_EQ(order.size(), 1000u);
  EXPECT_NE(workerThread, std::this_thread::get_id());
  // Each producer's items keep their order.
  std::vector<int> last(4, -1);
  for (int v : order) {
    EXPECT_GT(v % 1000, last[v / 1000]);
    last[v / 1000] = v % 1000;
  }
}

TEST(RunLoop, RunsWorkPostedFromOtherThreadsAndDueTimersUntilStopped) {
  host::RunLoop loop;
  std::vector<std::string> log;
  std::thread poster([&] {
    loop.post([&] { log.push_back("posted from a thread"); });
    loop.post([&] {
      EXPECT_TRUE(loop.isLoopThread());
      loop.schedule(0, [&] {
        log.push_back("timer");
        loop.stop();
      });
      auto cancelled = loop.schedule(0, [&] { log.push_back("cancelled timer"); });
      loop.cancel(cancelled);
    });
  });
  loop.run();
  poster.join();
  EXPECT_EQ(log, (std::vector<std::string>{"posted from a thread", "timer"}));
}

TEST(RunLoop, AStopThatComesBeforeRunIsNotLost) {
  host::RunLoop loop;
  loop.stop();
  loop.run();  // returns at once instead of blocking for ever
  bool ranAfterRestart = false;
  loop.post([&] {
    ranAfterRestart = true;
    loop.stop();
  });
  loop.run();
  EXPECT_TRUE(ranAfterRestart);
}

TEST(HostWaits, FarOffDeadlinesBlockForABoundedTimeInsteadOfOverflowing) {
  // A deadline past what the clock's nanoseconds can hold used to make the wait return at once,
  // so the loop spun at full speed holding its lock.
  for (double seconds : {1e10, 1e300, std::numeric_limits<double>::infinity()}) {
    EXPECT_GT(host::boundedWait(seconds).count(), 1) << seconds;
    EXPECT_LE(host::boundedWait(seconds).count(), 3600) << seconds;
  }
  EXPECT_EQ(host::boundedWait(-5).count(), 0);
  EXPECT_EQ(host::boundedWait(std::numeric_limits<double>::quiet_NaN()).count(), 0);
  EXPECT_DOUBLE_EQ(host::boundedWait(0.25).count(), 0.25);
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

TEST(ManualSerialQueue, DestroyingAQueueFromItsOwnWorkDropsTheRest) {
  sim::ManualLoop loop;
  sim::ManualQueueFactory factory(loop);
  auto queue = factory.makeSerialQueue("q", QualityOfService::utility);
  bool secondRan = false;
  queue->async([&] { queue.reset(); });
  queue->async([&] { secondRan = true; });
  factory.drainAll();
  EXPECT_FALSE(secondRan);
}

TEST(ManualLoop, AnInfiniteTimerNeverFiresEvenGivenUnlimitedTime) {
  sim::ManualLoop loop;
  bool fired = false;
  loop.schedule(std::numeric_limits<double>::infinity(), [&] { fired = true; });
  EXPECT_FALSE(loop.runUntil([&] { return fired; }, std::numeric_limits<double>::infinity()));
  loop.advance(std::numeric_limits<double>::infinity());
  EXPECT_FALSE(fired);
  EXPECT_TRUE(std::isfinite(loop.now()));
}
