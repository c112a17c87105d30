#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "runtime/Continuation.h"
#include "session/RotationRecovery.h"
#include "sim/ManualLoop.h"

using namespace turnlet;

namespace {

// Records when each attempt ran and answers from a script (false once the script runs out).
struct Attempts {
  sim::ManualLoop& loop;
  std::vector<bool> answers;
  std::vector<double> times;

  RotationRecovery::AttemptFunction function() {
    return [this]() -> Task<bool> { return attempt(this); };
  }
  static Task<bool> attempt(Attempts* self) {
    self->times.push_back(self->loop.now());
    const std::size_t n = self->times.size();
    co_return n <= self->answers.size() && self->answers[n - 1];
  }
};

const std::vector<double> sessionDelays{0.6, 1.0, 2.0, 4.0};

}  // namespace

TEST(RotationRecovery, AttemptsAfterEachDelayUntilOneSucceeds) {
  sim::ManualLoop loop;
  Attempts attempts{loop, {false, true}, {}};
  auto recovery = RotationRecovery::make(loop, sessionDelays, attempts.function());
  recovery->request();
  recovery->request();  // a request during a run neither restarts nor extends it
  EXPECT_EQ(recovery->generation(), 1u);
  loop.advance(100);
  EXPECT_EQ(attempts.times, (std::vector<double>{0.6, 1.6}));
  EXPECT_FALSE(recovery->isRunning());
}

TEST(RotationRecovery, FourFailedAttemptsEndTheRunAndANewRequestStartsAfresh) {
  sim::ManualLoop loop;
  Attempts attempts{loop, {}, {}};
  auto recovery = RotationRecovery::make(loop, sessionDelays, attempts.function());
  recovery->request();
  loop.advance(7.5);
  EXPECT_EQ(attempts.times.size(), 3u);
  loop.advance(0.1);
  ASSERT_EQ(attempts.times.size(), 4u);
  EXPECT_NEAR(attempts.times[3], 7.6, 1e-9);
  EXPECT_FALSE(recovery->isRunning());

  recovery->request();
  loop.advance(0.6);
  EXPECT_EQ(attempts.times.size(), 5u);
  EXPECT_NEAR(attempts.times[4], 8.2, 1e-9);
}

TEST(RotationRecovery, CancelDuringADelayStopsWithoutAnAttemptAndLetsTheNextRequestStartOver) {
  sim::ManualLoop loop;
  Attempts attempts{loop, {}, {}};
  auto recovery = RotationRecovery::make(loop, sessionDelays, attempts.function());
  recovery->request();
  loop.advance(0.3);
  recovery->cancel();
  EXPECT_FALSE(recovery->isRunning());
  EXPECT_EQ(recovery->generation(), 2u);
  recovery->request();  // at once: the old run must not clear the new run's task when it ends
  loop.advance(0.5);
  EXPECT_TRUE(attempts.times.empty());
  EXPECT_TRUE(recovery->isRunning());
  loop.advance(0.1);
  ASSERT_EQ(attempts.times.size(), 1u);
  EXPECT_NEAR(attempts.times[0], 0.9, 1e-9);
  EXPECT_TRUE(recovery->isRunning());
  EXPECT_EQ(loop.pendingTimerCount(), 1u);  // only the new run's delay is pending
}

TEST(RotationRecovery, CancelWhenIdleStillBumpsTheGeneration) {
  sim::ManualLoop loop;
  Attempts attempts{loop, {}, {}};
  auto recovery = RotationRecovery::make(loop, sessionDelays, attempts.function());
  recovery->cancel();
  EXPECT_EQ(recovery->generation(), 1u);
  EXPECT_FALSE(recovery->isRunning());
}

TEST(RotationRecovery, KeepsOnlyFiniteNonNegativeDelays) {
  sim::ManualLoop loop;
  Attempts attempts{loop, {}, {}};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  auto recovery = RotationRecovery::make(loop, {-1, nan, 0.5, inf, -inf, -0.0}, attempts.function());
  ASSERT_EQ(recovery->delays().size(), 2u);
  EXPECT_EQ(recovery->delays()[0], 0.5);
  EXPECT_EQ(recovery->delays()[1], 0.0);
  EXPECT_TRUE(std::signbit(recovery->delays()[1]));

  for (std::vector<double> none : {std::vector<double>{}, std::vector<double>{-2}}) {
    auto idle = RotationRecovery::make(loop, none, attempts.function());
    idle->request();
    EXPECT_FALSE(idle->isRunning());
    EXPECT_EQ(idle->generation(), 0u);
  }
}

TEST(RotationRecovery, ASleepThatThrowsEndsTheRunAndAThrowingAttemptCountsAsNotDone) {
  sim::ManualLoop loop;
  int sleeps = 0;
  Attempts attempts{loop, {}, {}};
  auto failingSleep = [&sleeps](double) -> Task<void> {
    ++sleeps;
    throw std::runtime_error("clock gone");
    co_return;
  };
  auto recovery = RotationRecovery::make(loop, sessionDelays, attempts.function(), failingSleep);
  recovery->request();
  loop.advance(10);
  EXPECT_EQ(sleeps, 1);
  EXPECT_TRUE(attempts.times.empty());
  EXPECT_FALSE(recovery->isRunning());

  int tries = 0;
  auto throwing = [&tries]() -> Task<bool> {
    ++tries;
    throw std::runtime_error("display vanished");
    co_return true;
  };
  auto retrying = RotationRecovery::make(loop, {0.1, 0.1}, throwing);
  retrying->request();
  loop.advance(1);
  EXPECT_EQ(tries, 2);
  EXPECT_FALSE(retrying->isRunning());
}

TEST(RotationRecovery, ARunKeepsItsSchedulerAliveUntilItEnds) {
  sim::ManualLoop loop;
  Attempts attempts{loop, {}, {}};
  std::weak_ptr<RotationRecovery> weak;
  {
    auto recovery = RotationRecovery::make(loop, {0.2}, attempts.function());
    weak = recovery;
    recovery->request();
  }
  // The starting task holds the scheduler weakly: dropped before the task starts, nothing runs.
  loop.advance(1);
  EXPECT_TRUE(weak.expired());
  EXPECT_TRUE(attempts.times.empty());

  {
    auto recovery = RotationRecovery::make(loop, {0.2}, attempts.function());
    weak = recovery;
    recovery->request();
    loop.runUntilIdle();
  }
  EXPECT_FALSE(weak.expired());
  loop.advance(1);
  EXPECT_EQ(attempts.times.size(), 1u);
  EXPECT_TRUE(weak.expired());
}

TEST(RotationRecovery, ARunWhoseAttemptCanNeverCompleteDoesNotBlockLaterRequests) {
  sim::ManualLoop loop;
  std::optional<Continuation<bool>> pending;
  int attempts = 0;
  auto waitForAnswer = [](std::optional<Continuation<bool>>& slot) -> Task<bool> {
    co_return co_await withContinuation<bool>([&slot](Continuation<bool> c) { slot.emplace(c); });
  };
  auto recovery = RotationRecovery::make(loop, {0.1}, [&]() -> Task<bool> {
    ++attempts;
    return waitForAnswer(pending);
  });
  recovery->request();
  loop.advance(0.2);
  ASSERT_EQ(attempts, 1);
  pending.reset();  // the completion handler is lost, and with it the run
  loop.runUntilIdle();
  EXPECT_FALSE(recovery->isRunning());
  recovery->request();
  loop.advance(0.2);
  EXPECT_EQ(attempts, 2);
}
