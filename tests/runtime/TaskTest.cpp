#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "display/AppFailure.h"
#include "runtime/Continuation.h"
#include "runtime/Task.h"
#include "runtime/TaskScope.h"
#include "runtime/Timeout.h"
#include "sim/system/ManualLoop.h"
#include "sim/system/RecordingLog.h"
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

Task<void> waitsForever(Counted, std::optional<Continuation<int>>& slot) {
  co_await withContinuation<int>([&slot](Continuation<int> c) { slot.emplace(c); });
}

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

// A loop whose post() from another thread returns only after the loop thread has run the block:
// an interleaving any real loop allows.
struct SlowPostLoop : sim::ManualLoop {
  std::atomic<bool> ran{false};
  void post(std::function<void()> fn) override {
    ManualLoop::post(std::move(fn));
    while (!isLoopThread() && !ran) std::this_thread::yield();
  }
};

}  // namespace

TEST(Task, RunsAfterTheCallerInFifoOrderAndPassesValuesAndErrorsUp) {
  sim::ManualLoop loop;
  std::vector<std::string> log;
  spawn(loop, [&]() -> Task<void> {
    log.push_back("sum " + std::to_string(co_await answer(log, 1) + co_await answer(log, 2)));
  });
  loop.post([&] { log.push_back("posted"); });
  auto failing = spawn(loop, fail("root failure"));
  std::string fromHandle;
  spawn(loop, outcomeOf(loop, fromHandle, [failing]() -> Task<void> { co_await failing; }));
  log.push_back("caller returns");
  loop.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"caller returns", "answer 1", "answer 2", "sum 3", "posted"}));
  loop.advance(1);
  EXPECT_EQ(fromHandle, "root failure at 1");
}

TEST(Task, CancellationReachesEveryAwaitAndLateCompletionsAreIgnored) {
  struct Env {
    TaskHandle other;
    std::optional<Continuation<void>> slot;
    auto keep() {
      return [this](Continuation<void> c) { slot.emplace(c); };
    }
  };
  const std::tuple<const char*, std::function<Task<void>(Env&)>, const char*> rows[] = {
      {"nested sleep", [](Env&) -> Task<void> { co_await sleepFor(Counted{}, 10); }, "cancelled at 3"},
      {"continuation", [](Env& env) -> Task<void> { co_await withContinuation<void>(env.keep()); }, "cancelled at 3"},
      {"handle", [](Env& env) -> Task<void> { co_await env.other; }, "cancelled at 3"},
      {"ended", [](Env& env) -> Task<void> { co_await env.other.ended(); }, "cancelled at 3"},
      {"flag", [](Env&) -> Task<void> { co_await checkCancellation(); }, "finished at 0"},
  };
  for (const auto& [name, wait, whileWaiting] : rows) {
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
      const std::string expected = before ? "cancelled at 0" : whileWaiting;
      EXPECT_EQ(out, expected);
      if (env.slot) env.slot->resume();  // a completion after the cancellation changes nothing
      env.other.cancel();
      loop.runUntilIdle();
      EXPECT_EQ(out, expected);
      EXPECT_EQ(loop.pendingTimerCount(), 0u);
    }
  }
  EXPECT_EQ(Counted::live, 0);
}

TEST(Continuation, TheTaskResumesOnceOnTheLoopWithTheFirstOutcome) {
  using Slot = std::optional<Continuation<int>>;
  const auto declined = std::make_exception_ptr(PlatformError("Capture", -3801, "The user declined"));
  const auto keep = [](Continuation<int> c, Slot& s) { s.emplace(c); };
  const std::tuple<const char*, std::function<void(Continuation<int>, Slot&)>, std::function<void(Slot&)>, const char*>
      rows[] = {
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
  for (const auto& [name, start, later, expected] : rows) {
    SCOPED_TRACE(name);
    sim::ManualLoop loop;
    Slot slot;
    std::string out;
    spawn(loop, [&]() -> Task<void> {
      try {
        out = "value " + std::to_string(co_await withContinuation<int>([&](Continuation<int> c) { start(c, slot); }));
      } catch (const Error& e) {
        out = e.localizedDescription();
      }
      co_await sleep(1.0);
      out += ";slept at " + std::to_string(int(loop.now()));
    });
    loop.runUntilIdle();
    if (later) std::thread(later, std::ref(slot)).join();
    loop.advance(1);
    EXPECT_EQ(out, expected);
  }
}

TEST(Continuation, ATaskResumedFromAnotherThreadIsDestroyedOnTheLoop) {
  SlowPostLoop loop;
  std::thread::id destroyedOn;
  std::thread worker;
  auto task = [](std::shared_ptr<void> /*destroyedWithTheFrame*/, std::thread& worker) -> Task<void> {
    co_await withContinuation<int>([&worker](Continuation<int> c) { worker = std::thread([c] { c.resume(1); }); });
  };
  const auto handle = spawn(
      loop, task(std::shared_ptr<void>(nullptr, [&](void*) { destroyedOn = std::this_thread::get_id(); }), worker));
  while (!handle.isDone()) loop.runUntilIdle();
  loop.ran = true;
  worker.join();
  EXPECT_EQ(destroyedOn, std::this_thread::get_id());
}

TEST(TaskLifetime, ATaskNothingCanResumeIsDestroyedAndItsWaitersAreWoken) {
  using Slot = std::optional<Continuation<int>>;
  auto awaits = [](Counted, std::shared_ptr<TaskHandle> other, MainLoop& loop, std::string& out) -> Task<void> {
    // Built outside the co_await: GCC 12 destroys a by-value argument's temporary there twice.
    auto wait = outcomeOf(loop, out, [other]() -> Task<void> { co_await *other; });
    co_await std::move(wait);
  };
  for (bool started : {false, true}) {  // the loop goes away before the task starts, or while it sleeps
    std::optional<sim::ManualLoop> loop(std::in_place);
    spawn(*loop, sleepFor(Counted{}, 100));  // a handle does not keep it alive, the timer does
    if (started) loop->runUntilIdle();
    EXPECT_EQ(Counted::live, 1);
    loop.reset();
    EXPECT_EQ(Counted::live, 0);
  }
  {  // its continuation is dropped: it goes at once, and the task awaiting it is told
    sim::ManualLoop loop;
    Slot slot;
    std::string out;
    spawn(loop, awaits(Counted{}, std::make_shared<TaskHandle>(spawn(loop, waitsForever(Counted{}, slot))), loop, out));
    loop.runUntilIdle();
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
  std::optional<Continuation<int>> slot;
  std::string captured, awaitedOut, quit;
  {
    TaskScope scope(loop, log);
    // A lambda's captures live as long as its task, though the lambda itself is a temporary.
    scope.spawn([text = std::string("captured by a temporary lambda"), &captured]() -> Task<void> {
      co_await sleep(1.0);
      captured = text;
      co_await sleep(100.0);
    });
    scope.spawn(waitsForever(Counted{}, slot));
    scope.spawn(fail("nobody awaited this"));
    const auto awaited = scope.spawn(fail("awaited"));
    spawn(loop, outcomeOf(loop, awaitedOut, [awaited]() -> Task<void> { co_await awaited; }));
    loop.advance(2);
    EXPECT_EQ(captured, "captured by a temporary lambda");
    EXPECT_EQ(awaitedOut, "awaited at 1");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"A task nobody awaited failed: nobody awaited this"}));
    spawn(loop, outcomeOf(loop, quit, [&]() -> Task<void> { scope.cancelAll(), co_await scope.join(); }));
    loop.runUntilIdle();
    EXPECT_EQ(quit, "finished at 2");
  }
  slot->resume(1);
  loop.runUntilIdle();
  EXPECT_EQ(log.lines().size(), 1u);  // cancelled children are not failures
}

TEST(Timeout, GivesTheResultInTimeOrThrowsAndCancelsTheOperation) {
  const char* timedOut = "The operation timed out. at 2";
  const auto slow = []() -> Task<void> { co_await withTimeout(2, sleepFor(Counted{}, 5)); };
  const std::tuple<const char*, std::function<Task<void>()>, double, const char*> rows[] = {
      {"in time", []() -> Task<void> { co_await withTimeout(2, sleep(1.0)); }, 10, "finished at 1"},
      {"too slow", slow, 10, timedOut},
      {"never resumed",
       []() -> Task<void> {
         std::optional<Continuation<int>> kept;
         co_await withTimeout(2, waitsForever(Counted{}, kept));
       },
       10, timedOut},
      {"operation fails", []() -> Task<void> { co_await withTimeout(2, fail("failed")); }, 10, "failed at 1"},
      {"waiter cancelled", slow, 1, "cancelled at 1"},
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
  sim::ManualLoop loop;
  auto onAnotherThread = [](std::function<void()> fn) { std::thread(std::move(fn)).join(); };
  EXPECT_DEBUG_DEATH(onAnotherThread([&] { spawn(loop, sleepFor(Counted{}, 1)); }), "main loop");
  EXPECT_DEBUG_DEATH(onAnotherThread([&] { loop.schedule(1, [] {}); }), "main loop");
  spawn(loop, []() -> Task<void> { co_await sleep(1.0), co_await sleep(1.0); });
  loop.runUntilIdle();
  EXPECT_DEBUG_DEATH(onAnotherThread([&] { loop.advance(1); }), "main loop");  // resumed there, awaits there
}
