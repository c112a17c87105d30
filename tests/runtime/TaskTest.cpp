#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "display/AppFailure.h"
#include "runtime/Continuation.h"
#include "runtime/Task.h"
#include "runtime/TaskScope.h"
#include "runtime/Timeout.h"
#include "sim/ManualLoop.h"
#include "sim/RecordingLog.h"
#include "support/Counted.h"

using namespace turnlet;

namespace {

Task<int> answer(std::vector<std::string>& log, int value) {
  log.push_back("answer " + std::to_string(value));
  co_return value;
}

Task<void> fail(std::string message, double after = 1) {
  co_await sleep(after);
  throw AppFailure(std::move(message));
}

Task<void> sleepFor(Counted, double seconds) { co_await sleep(seconds); }

// Runs wait in a task and records how it ended and when.
Task<void> outcomeOf(MainLoop& loop, std::string& out, std::function<Task<void>()> wait) {
  try {
    co_await wait();
    out = "finished";
  } catch (const CancellationError&) {
    out = "cancelled";
  } catch (const Error& e) {
    out = e.localizedDescription();
  }
  out += " at " + std::to_string(int(loop.now()));
}

}  // namespace

TEST(Task, RunsAfterTheCallerInFifoOrderAndPassesValuesAndErrorsUp) {
  sim::ManualLoop loop;
  std::vector<std::string> log;
  spawn(loop, [&]() -> Task<void> {
    log.push_back("sum " + std::to_string(co_await answer(log, 1) + co_await answer(log, 2)));
  });
  loop.post([&] { log.push_back("posted"); });
  auto failing = spawn(loop, fail("root failure"));
  std::string deep, fromHandle;
  spawn(loop, outcomeOf(loop, deep, [] { return fail("deep failure"); }));
  spawn(loop, outcomeOf(loop, fromHandle, [failing]() -> Task<void> { co_await failing; }));
  log.push_back("caller returns");
  loop.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"caller returns", "answer 1", "answer 2", "sum 3", "posted"}));
  loop.advance(1);
  EXPECT_EQ(deep, "deep failure at 1");
  EXPECT_EQ(fromHandle, "root failure at 1");
  EXPECT_TRUE(failing.isDone());
}

TEST(Task, SleepWaitsVirtualTimeAndTreatsBadDelaysAsZero) {
  sim::ManualLoop loop;
  std::vector<double> wokeAt;
  for (double seconds : {2.5, -3.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
    spawn(loop, [&loop, &wokeAt, seconds]() -> Task<void> { co_await sleep(seconds), wokeAt.push_back(loop.now()); });
  loop.runUntilIdle();
  EXPECT_EQ(wokeAt, (std::vector<double>{0, 0}));
  loop.advance(2.4);
  EXPECT_EQ(wokeAt.size(), 2u);
  loop.advance(1e9);  // an infinite sleep never ends by itself
  EXPECT_EQ(wokeAt, (std::vector<double>{0, 0, 2.5}));
}

TEST(Task, CancellationReachesEveryAwaitAndLateCompletionsAreIgnored) {
  struct Env {
    TaskHandle other;
    std::optional<Continuation<void>> slot;
  };
  const std::pair<const char*, std::function<Task<void>(Env&)>> rows[] = {
      {"sleep", [](Env&) -> Task<void> { co_await sleep(10.0); }},
      {"nested sleep", [](Env&) -> Task<void> { co_await sleepFor(Counted{}, 10); }},
      {"continuation",
       [](Env& env) -> Task<void> {
         co_await withContinuation<void>([&env](Continuation<void> c) { env.slot.emplace(c); });
       }},
      {"handle", [](Env& env) -> Task<void> { co_await env.other; }},
      {"ended", [](Env& env) -> Task<void> { co_await env.other.ended(); }},
      {"flag",
       [](Env&) -> Task<void> {  // the flag is read without suspending
         if (co_await isCancelled()) co_await checkCancellation();
       }},
  };
  for (const auto& [name, wait] : rows) {
    for (bool before : {true, false}) {
      SCOPED_TRACE(std::string(name) + (before ? ", cancelled before it starts" : ", cancelled while it waits"));
      sim::ManualLoop loop;
      Env env;
      env.other = spawn(loop, sleepFor(Counted{}, 100));
      std::string out;
      auto task = spawn(loop, outcomeOf(loop, out, [&] { return wait(env); }));
      if (before) task.cancel();
      loop.advance(3);
      const std::string settled = out;
      task.cancel();
      EXPECT_EQ(out, settled);  // the wake-up is posted, not run inside cancel()
      loop.runUntilIdle();
      const char* expected = before                        ? "cancelled at 0"
                             : std::string(name) == "flag" ? "finished at 0"
                                                           : "cancelled at 3";
      EXPECT_EQ(out, expected);
      if (env.slot) env.slot->resume();  // a completion after the cancellation changes nothing
      env.other.cancel();
      loop.runUntilIdle();
      EXPECT_EQ(out, expected);
      EXPECT_EQ(loop.pendingTimerCount(), 0u);
      EXPECT_TRUE(task.isCancelled() && task.isDone());
    }
  }
  EXPECT_EQ(Counted::live, 0);
}

TEST(Continuation, TheTaskResumesOnceOnTheLoopWithTheFirstOutcome) {
  using Slot = std::optional<Continuation<int>>;
  struct Row {
    const char* name;
    std::function<void(Continuation<int>, Slot&)> start;
    std::function<void(Slot&)> later;  // on another thread
    const char* expected;
  };
  const auto declined = std::make_exception_ptr(PlatformError("Capture", -3801, "The user declined"));
  const auto keep = [](Continuation<int> c, Slot& s) { s.emplace(c); };
  const Row rows[] = {
      {"resumed, then again", keep, [&](Slot& s) { s->resume(42), s->resume(7), s->resumeThrowing(declined); },
       "value 42;slept at 1"},
      {"resumed with an error", [&](Continuation<int> c, Slot&) { c.resumeThrowing(declined); }, nullptr,
       "The user declined;slept at 1"},
      {"start threw, resumed later",
       [&](Continuation<int> c, Slot& s) { keep(c, s), throw AppFailure("could not start"); },
       [](Slot& s) { s->resume(5); }, "could not start;slept at 1"},
      // Used to resume the task at once with the exception and again with the value: a sleep that
      // ended early, or a frame resumed after it was destroyed.
      {"resumed on another thread, then start threw",
       [](Continuation<int> c, Slot&) {
         std::thread([c] { c.resume(5); }).join();
         throw AppFailure("could not start");
       },
       nullptr, "value 5;slept at 1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    sim::ManualLoop loop;
    Slot slot;
    std::string out;
    spawn(loop, [&]() -> Task<void> {
      try {
        out =
            "value " + std::to_string(co_await withContinuation<int>([&](Continuation<int> c) { row.start(c, slot); }));
      } catch (const Error& e) {
        out = e.localizedDescription();
      }
      EXPECT_TRUE(loop.isLoopThread());
      co_await sleep(1.0);
      out += ";slept at " + std::to_string(int(loop.now()));
    });
    loop.runUntilIdle();
    if (row.later) std::thread(row.later, std::ref(slot)).join();
    loop.advance(1);
    EXPECT_EQ(out, row.expected);
  }
}

namespace {

// A loop whose post() from another thread returns only after the loop thread has run the block:
// an interleaving any real loop allows.
class SlowPostLoop : public sim::ManualLoop {
 public:
  std::atomic<bool> ran{false};
  void post(std::function<void()> fn) override {
    ManualLoop::post(std::move(fn));
    while (!isLoopThread() && !ran) std::this_thread::yield();
  }
};

}  // namespace

TEST(Continuation, ATaskResumedFromAnotherThreadIsDestroyedOnTheLoop) {
  SlowPostLoop loop;
  std::thread::id destroyedOn;
  std::thread worker;
  auto task = [](std::shared_ptr<void> /*destroyedWithTheFrame*/, std::thread& worker) -> Task<void> {
    co_await withContinuation<int>([&worker](Continuation<int> c) { worker = std::thread([c] { c.resume(1); }); });
  };
  spawn(loop, task(std::shared_ptr<void>(nullptr, [&](void*) { destroyedOn = std::this_thread::get_id(); }), worker));
  loop.runUntilIdle();
  while (loop.pendingPostCount() == 0) std::this_thread::yield();
  loop.runUntilIdle();
  loop.ran = true;
  worker.join();
  EXPECT_EQ(destroyedOn, std::this_thread::get_id());
}

TEST(TaskLifetime, ATaskNothingCanResumeIsDestroyedAndItsWaitersAreWoken) {
  using Slot = std::optional<Continuation<int>>;
  auto waitsForever = [](Counted, Slot& slot) -> Task<void> {
    co_await withContinuation<int>([&slot](Continuation<int> c) { slot.emplace(c); });
  };
  auto awaits = [](Counted, std::shared_ptr<TaskHandle> other, MainLoop& loop, std::string& out) -> Task<void> {
    co_await outcomeOf(loop, out, [other]() -> Task<void> { co_await *other; });
  };
  {  // never started: the loop goes away before it runs the task
    sim::ManualLoop loop;
    spawn(loop, sleepFor(Counted{}, 100));
  }
  EXPECT_EQ(Counted::live, 0);
  {  // a handle does not keep a task alive; a pending timer does, until the loop goes away
    sim::ManualLoop loop;
    spawn(loop, sleepFor(Counted{}, 100));
    loop.runUntilIdle();
    EXPECT_EQ(Counted::live, 1);
  }
  EXPECT_EQ(Counted::live, 0);
  {  // its continuation is dropped: it goes at once, and the task awaiting it is told
    sim::ManualLoop loop;
    Slot slot;
    std::string out;
    spawn(loop, awaits(Counted{}, std::make_shared<TaskHandle>(spawn(loop, waitsForever(Counted{}, slot))), loop, out));
    loop.runUntilIdle();
    EXPECT_EQ(Counted::live, 2);
    slot.reset();
    loop.runUntilIdle();
    EXPECT_EQ(out, "cancelled at 0");
    EXPECT_EQ(Counted::live, 0);
  }
  for (bool self : {true, false}) {  // tasks awaiting each other used to hold each other for ever
    SCOPED_TRACE(self ? "a task awaiting itself" : "two tasks awaiting each other");
    std::string outA, outB;
    {
      sim::ManualLoop loop;
      auto a = std::make_shared<TaskHandle>(), b = std::make_shared<TaskHandle>();
      *a = spawn(loop, awaits(Counted{}, self ? a : b, loop, outA));
      if (!self) *b = spawn(loop, awaits(Counted{}, a, loop, outB));
      loop.runUntilIdle();
    }
    // The await that would close the cycle fails at once; the other task then ends normally.
    EXPECT_EQ(self ? outA : outB, "A task waited for itself. at 0");
    EXPECT_EQ(self ? outB : outA, self ? "" : "finished at 0");
    EXPECT_EQ(Counted::live, 0);
  }
}

TEST(TaskScope, CancelsAndJoinsItsChildrenAndLogsFailuresNobodyAwaited) {
  sim::ManualLoop loop;
  sim::RecordingLog log;
  std::optional<Continuation<void>> slot;
  std::string captured, awaitedOut, quit;
  {
    TaskScope scope(loop, log);
    // A lambda's captures live as long as its task, though the lambda itself is a temporary.
    scope.spawn([text = std::string("captured by a temporary lambda"), &captured]() -> Task<void> {
      co_await sleep(1.0);
      captured = text;
      co_await sleep(100.0);
    });
    scope.spawn(
        [&slot]() -> Task<void> { co_await withContinuation<void>([&](Continuation<void> c) { slot.emplace(c); }); });
    scope.spawn(fail("nobody awaited this"));
    const auto awaited = scope.spawn(fail("awaited"));
    spawn(loop, outcomeOf(loop, awaitedOut, [awaited]() -> Task<void> { co_await awaited; }));
    loop.advance(2);
    EXPECT_EQ(captured, "captured by a temporary lambda");
    EXPECT_EQ(awaitedOut, "awaited at 1");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"A task nobody awaited failed: nobody awaited this"}));
    EXPECT_EQ(scope.runningCount(), 2u);
    spawn(loop, outcomeOf(loop, quit, [&]() -> Task<void> { scope.cancelAll(), co_await scope.join(); }));
    loop.runUntilIdle();
    EXPECT_EQ(quit, "finished at 2");
    EXPECT_EQ(scope.runningCount(), 0u);
  }
  slot->resume();
  loop.runUntilIdle();
  EXPECT_EQ(log.lines().size(), 1u);  // cancelled children are not failures
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
}

TEST(Timeout, GivesTheResultInTimeOrThrowsAndCancelsTheOperation) {
  const std::tuple<const char*, std::function<Task<void>()>, double, const char*> rows[] = {
      {"in time", []() -> Task<void> { co_await withTimeout(2, sleep(1.0)); }, 10, "finished at 1"},
      {"value",
       []() -> Task<void> {
         if (co_await withTimeout(2, []() -> Task<int> { co_return 7; }()) != 7) throw AppFailure("wrong value");
       },
       10, "finished at 0"},
      {"too slow", []() -> Task<void> { co_await withTimeout(2, sleepFor(Counted{}, 5)); }, 10,
       "The operation timed out. at 2"},
      {"never resumed",
       []() -> Task<void> {
         std::optional<Continuation<int>> kept;
         co_await withTimeout(2, withContinuation<int>([&kept](Continuation<int> c) { kept.emplace(c); }));
       },
       10, "The operation timed out. at 2"},
      {"operation fails", []() -> Task<void> { co_await withTimeout(2, fail("failed")); }, 10, "failed at 1"},
      {"waiter cancelled", []() -> Task<void> { co_await withTimeout(2, sleepFor(Counted{}, 5)); }, 1,
       "cancelled at 1"},
  };
  for (const auto& [name, wait, cancelAt, expected] : rows) {
    SCOPED_TRACE(name);
    {
      sim::ManualLoop loop;
      std::string out;
      auto task = spawn(loop, outcomeOf(loop, out, wait));
      loop.advance(cancelAt);
      task.cancel();
      loop.advance(10);
      EXPECT_EQ(out, expected);
      EXPECT_EQ(loop.pendingTimerCount(), 0u);
    }
    EXPECT_EQ(Counted::live, 0);
  }
}

TEST(TaskDeathTest, LoopThreadWorkFromAnotherThreadIsCaughtInDebugBuilds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  sim::ManualLoop loop;
  auto onAnotherThread = [](std::function<void()> fn) { std::thread(std::move(fn)).join(); };
  EXPECT_DEBUG_DEATH(onAnotherThread([&] { spawn(loop, sleepFor(Counted{}, 1)); }), "main loop");
  EXPECT_DEBUG_DEATH(onAnotherThread([&] { loop.schedule(1, [] {}); }), "main loop");
  spawn(loop, []() -> Task<void> { co_await sleep(1.0), co_await sleep(1.0); });
  loop.runUntilIdle();
  EXPECT_DEBUG_DEATH(onAnotherThread([&] { loop.advance(1); }), "main loop");  // resumed there, awaits there
}
