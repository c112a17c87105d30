#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "display/AppFailure.h"
#include "runtime/Continuation.h"
#include "runtime/Task.h"
#include "sim/ManualLoop.h"
#include "support/Counted.h"

using namespace turnlet;

namespace {

Task<int> answer(std::vector<std::string>& log, int value) {
  log.push_back("answer " + std::to_string(value));
  co_return value;
}

Task<int> sum(std::vector<std::string>& log) {
  log.push_back("sum begins");
  int a = co_await answer(log, 1);
  int b = co_await answer(log, 2);
  log.push_back("sum ends");
  co_return a + b;
}

Task<void> record(std::vector<std::string>& log, std::string name) {
  log.push_back(name);
  co_return;
}

Task<void> fail(std::string message) {
  co_await sleep(1.0);
  throw AppFailure(std::move(message));
}

Task<std::string> catchFromBelow() {
  try {
    co_await fail("deep failure");
  } catch (const AppFailure& e) {
    co_return "caught: " + e.message();
  }
  co_return "not thrown";
}

}  // namespace

TEST(Task, SpawnedTasksRunAfterTheCurrentCodeInFifoOrderWithPosts) {
  sim::ManualLoop loop;
  std::vector<std::string> log;
  spawn(loop, record(log, "first task"));
  loop.post([&] { log.push_back("posted"); });
  spawn(loop, record(log, "second task"));
  log.push_back("caller returns");
  loop.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"caller returns", "first task", "posted", "second task"}));
}

TEST(Task, NestedAwaitsRunInOrderAndPassValuesUp) {
  sim::ManualLoop loop;
  std::vector<std::string> log;
  int result = 0;
  auto outer = [](std::vector<std::string>& log, int& result) -> Task<void> {
    result = co_await sum(log);
    log.push_back("outer ends");
  };
  spawn(loop, outer(log, result));
  loop.runUntilIdle();
  EXPECT_EQ(result, 3);
  EXPECT_EQ(log, (std::vector<std::string>{"sum begins", "answer 1", "answer 2", "sum ends", "outer ends"}));
}

TEST(Task, ExceptionsCrossAwaitsAndReachWhoeverAwaitsTheHandle) {
  sim::ManualLoop loop;
  std::string caught;
  auto catcher = [](std::string& out) -> Task<void> { out = co_await catchFromBelow(); };
  spawn(loop, catcher(caught));

  auto failing = spawn(loop, fail("root failure"));
  std::string fromHandle;
  auto waiter = [](TaskHandle handle, std::string& out) -> Task<void> {
    try {
      co_await handle;
      out = "completed";
    } catch (const Error& e) {
      out = e.localizedDescription();
    }
  };
  spawn(loop, waiter(failing, fromHandle));

  loop.runUntilIdle();
  EXPECT_EQ(caught, "");
  loop.advance(1);
  EXPECT_EQ(caught, "caught: deep failure");
  EXPECT_EQ(fromHandle, "root failure");
  EXPECT_TRUE(failing.isDone());
}

TEST(Task, SleepWaitsVirtualTimeAndTreatsBadDelaysAsZero) {
  sim::ManualLoop loop;
  std::vector<double> wokeAt;
  auto sleeper = [](MainLoop& loop, std::vector<double>& out, double seconds) -> Task<void> {
    co_await sleep(seconds);
    out.push_back(loop.now());
  };
  spawn(loop, sleeper(loop, wokeAt, 2.5));
  spawn(loop, sleeper(loop, wokeAt, -3));
  spawn(loop, sleeper(loop, wokeAt, std::numeric_limits<double>::quiet_NaN()));
  spawn(loop, sleeper(loop, wokeAt, std::numeric_limits<double>::infinity()));
  loop.runUntilIdle();
  EXPECT_EQ(wokeAt, (std::vector<double>{0, 0}));
  loop.advance(2.4);
  EXPECT_EQ(wokeAt.size(), 2u);
  loop.advance(0.1);
  EXPECT_EQ(wokeAt, (std::vector<double>{0, 0, 2.5}));
  loop.advance(1e9);
  EXPECT_EQ(wokeAt.size(), 3u);  // an infinite sleep never ends by itself
}

TEST(Task, CancellationBeforeAndDuringASleepThrowsAtOnceAlongTheWholeChain) {
  sim::ManualLoop loop;
  struct Outcome {
    std::string how;
    double at = -1;
  };
  auto inner = []() -> Task<void> { co_await sleep(10.0); };
  auto outer = [&inner](MainLoop& loop, Outcome& out) -> Task<void> {
    try {
      co_await inner();
      out.how = "slept";
    } catch (const CancellationError&) {
      out.how = "cancelled";
    }
    out.at = loop.now();
  };

  Outcome before;
  auto early = spawn(loop, outer(loop, before));
  early.cancel();
  loop.runUntilIdle();
  EXPECT_EQ(before.how, "cancelled");
  EXPECT_EQ(before.at, 0);

  Outcome during;
  auto late = spawn(loop, outer(loop, during));
  loop.advance(3);
  EXPECT_EQ(during.how, "");
  late.cancel();
  EXPECT_EQ(during.how, "");  // the wake-up is posted, not run inside cancel()
  loop.runUntilIdle();
  EXPECT_EQ(during.how, "cancelled");
  EXPECT_EQ(during.at, 3);
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
  EXPECT_TRUE(late.isCancelled());
}

TEST(Task, CancellationIsVisibleWithoutSleeping) {
  sim::ManualLoop loop;
  std::vector<std::string> log;
  auto child = [](std::vector<std::string>& log) -> Task<void> {
    log.push_back((co_await isCancelled()) ? "child sees cancel" : "child runs");
    co_await checkCancellation();
    log.push_back("not reached");
  };
  auto parent = [&child](std::vector<std::string>& log) -> Task<void> {
    try {
      co_await child(log);
    } catch (const CancellationError&) {
      log.push_back("parent caught");
    }
  };
  auto handle = spawn(loop, parent(log));
  handle.cancel();
  loop.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"child sees cancel", "parent caught"}));
}

TEST(Continuation, ResumedFromAnotherThreadContinuesOnTheLoopExactlyOnce) {
  sim::ManualLoop loop;
  std::thread worker;
  std::atomic<bool> go{false};
  std::thread::id resumedOn;
  int value = 0;
  auto task = [&]() -> Task<void> {
    value = co_await withContinuation<int>([&](Continuation<int> c) {
      worker = std::thread([c, &go] {
        while (!go) std::this_thread::yield();
        c.resume(42);
        c.resume(7);  // ignored: a continuation resumes once
        c.resumeThrowing(std::make_exception_ptr(std::runtime_error("late")));
      });
    });
    resumedOn = std::this_thread::get_id();
  };
  spawn(loop, task());
  loop.runUntilIdle();
  go = true;
  worker.join();
  EXPECT_EQ(value, 0);
  loop.runUntilIdle();
  EXPECT_EQ(value, 42);
  EXPECT_EQ(resumedOn, std::this_thread::get_id());
  EXPECT_EQ(loop.pendingPostCount(), 0u);
}

TEST(Continuation, CarriesErrorsAndVoidResults) {
  sim::ManualLoop loop;
  std::string log;
  auto task = [&]() -> Task<void> {
    co_await withContinuation<void>([](Continuation<void> c) { c.resume(); });
    log += "void;";
    try {
      co_await withContinuation<int>([](Continuation<int> c) {
        c.resumeThrowing(std::make_exception_ptr(PlatformError("Capture", -3801, "The user declined")));
      });
    } catch (const PlatformError& e) {
      log += e.domain() + " " + std::to_string(e.code()) + " " + e.localizedDescription();
    }
  };
  spawn(loop, task());
  loop.runUntilIdle();
  EXPECT_EQ(log, "void;Capture -3801 The user declined");
}

TEST(TaskLifetime, NeverStartedAndSuspendedTasksAreDestroyedWithoutLeaks) {
  auto holds = [](Counted) -> Task<void> { co_await sleep(100.0); };
  auto waitsForever = [](Counted, std::optional<Continuation<int>>& slot) -> Task<void> {
    co_await withContinuation<int>([&slot](Continuation<int> c) { slot.emplace(c); });
  };

  {  // never started: the loop goes away before it runs the task
    sim::ManualLoop loop;
    spawn(loop, holds(Counted{}));
    EXPECT_EQ(Counted::live, 1);
  }
  EXPECT_EQ(Counted::live, 0);

  {  // suspended in a sleep when the loop goes away
    sim::ManualLoop loop;
    auto handle = spawn(loop, holds(Counted{}));
    loop.runUntilIdle();
    EXPECT_EQ(Counted::live, 1);
    handle = TaskHandle();
    EXPECT_EQ(Counted::live, 1);  // the pending timer keeps it alive
  }
  EXPECT_EQ(Counted::live, 0);

  {  // suspended on a continuation that is dropped without being resumed
    sim::ManualLoop loop;
    std::optional<Continuation<int>> slot;
    spawn(loop, waitsForever(Counted{}, slot));
    loop.runUntilIdle();
    ASSERT_TRUE(slot.has_value());
    EXPECT_EQ(Counted::live, 1);
    slot.reset();
    loop.runUntilIdle();
    EXPECT_EQ(Counted::live, 0);
  }
  EXPECT_EQ(Counted::live, 0);
}

TEST(TaskLifetime, ATaskWaitingForAnAbandonedTaskGetsACancellationAndNeitherLeaks) {
  auto waitsForever = [](Counted, std::optional<Continuation<int>>& slot) -> Task<void> {
    co_await withContinuation<int>([&slot](Continuation<int> c) { slot.emplace(c); });
  };
  auto awaits = [](Counted, TaskHandle other, std::string& outcome) -> Task<void> {
    try {
      co_await other;
      outcome = "finished";
    } catch (const CancellationError&) {
      outcome = "cancelled";
    }
  };
  auto sleeps = [](Counted) -> Task<void> { co_await sleep(100.0); };

  {  // the awaited task's continuation is dropped
    sim::ManualLoop loop;
    std::optional<Continuation<int>> slot;
    std::string outcome;
    {
      auto a = spawn(loop, waitsForever(Counted{}, slot));
      spawn(loop, awaits(Counted{}, a, outcome));
    }
    loop.runUntilIdle();
    EXPECT_EQ(Counted::live, 2);
    slot.reset();
    loop.runUntilIdle();
    EXPECT_EQ(outcome, "cancelled");
    EXPECT_EQ(Counted::live, 0);
  }
  {  // the loop goes away while the awaited task sleeps
    sim::ManualLoop loop;
    std::string outcome;
    {
      auto a = spawn(loop, sleeps(Counted{}));
      spawn(loop, awaits(Counted{}, a, outcome));
    }
    loop.runUntilIdle();
    EXPECT_EQ(Counted::live, 2);
  }
  EXPECT_EQ(Counted::live, 0);
}

namespace {

// A loop whose post() from another thread returns only after the loop thread has run the block:
// an interleaving any real loop allows.
class HandshakeLoop : public MainLoop {
 public:
  sim::ManualLoop inner;
  void post(std::function<void()> fn) override {
    const bool fromOtherThread = !inner.isLoopThread();
    inner.post(std::move(fn));
    if (!fromOtherThread) return;
    std::unique_lock lock(mutex);
    postedFromOtherThread = true;
    changed.notify_all();
    changed.wait(lock, [&] { return ran; });
  }
  TimerId schedule(double d, std::function<void()> fn, double t) override { return inner.schedule(d, std::move(fn), t); }
  void cancel(TimerId id) override { inner.cancel(id); }
  double now() const override { return inner.now(); }
  bool isLoopThread() const override { return inner.isLoopThread(); }

  void runThePostFromTheOtherThread() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return postedFromOtherThread; });
    lock.unlock();
    inner.runUntilIdle();
    lock.lock();
    ran = true;
    changed.notify_all();
  }

 private:
  std::mutex mutex;
  std::condition_variable changed;
  bool postedFromOtherThread = false;
  bool ran = false;
};

struct RecordsDestroyingThread {
  std::thread::id* where;
  explicit RecordsDestroyingThread(std::thread::id* w) : where(w) {}
  RecordsDestroyingThread(RecordsDestroyingThread&& o) noexcept : where(std::exchange(o.where, nullptr)) {}
  ~RecordsDestroyingThread() {
    if (where) *where = std::this_thread::get_id();
  }
};

}  // namespace

TEST(Continuation, ATaskResumedFromAnotherThreadIsDestroyedOnTheLoop) {
  HandshakeLoop loop;
  std::thread::id destroyedOn;
  std::thread worker;
  auto task = [](RecordsDestroyingThread, std::thread& worker) -> Task<void> {
    co_await withContinuation<int>([&worker](Continuation<int> c) { worker = std::thread([c] { c.resume(1); }); });
  };
  spawn(loop, task(RecordsDestroyingThread(&destroyedOn), worker));
  loop.inner.runUntilIdle();
  loop.runThePostFromTheOtherThread();
  worker.join();
  EXPECT_EQ(destroyedOn, std::this_thread::get_id());
}

TEST(Continuation, AStartThatThrowsResumesWithItsErrorAndLaterResumesAreIgnored) {
  sim::ManualLoop loop;
  std::optional<Continuation<int>> kept;
  std::string log;
  auto task = [&]() -> Task<void> {
    try {
      co_await withContinuation<int>([&](Continuation<int> c) {
        kept.emplace(c);
        throw AppFailure("could not start");
      });
    } catch (const AppFailure& e) {
      log += e.message() + ";";
    }
    co_await sleep(1.0);
    log += "slept;";
  };
  spawn(loop, task());
  loop.runUntilIdle();
  kept->resume(5);
  loop.runUntilIdle();
  EXPECT_EQ(log, "could not start;");
  loop.advance(1);
  EXPECT_EQ(log, "could not start;slept;");
}
