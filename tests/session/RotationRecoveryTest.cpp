#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "runtime/Continuation.h"
#include "session/RotationRecovery.h"
#include "sim/system/ManualLoop.h"

using namespace turnlet;
using ::testing::DoubleNear;
using ::testing::Pointwise;

namespace {

const std::vector<double> sessionDelays{0.6, 1.0, 2.0, 4.0};

class RotationRecoveryTest : public ::testing::Test {
 protected:
  // Attempts record when they ran and answer from the script (past its end false; empty: throw).
  std::shared_ptr<RotationRecovery> make(std::vector<double> delays, std::vector<std::optional<bool>> script = {},
                                         RotationRecovery::SleepFunction sleep = RotationRecovery::defaultSleep) {
    answers = std::move(script);
    return RotationRecovery::make(
        loop, std::move(delays), [this] { return attempt(this); }, std::move(sleep));
  }
  static Task<bool> attempt(RotationRecoveryTest* self) {
    self->times.push_back(self->loop.now());
    const std::size_t n = self->times.size();
    if (n <= self->answers.size() && !self->answers[n - 1]) throw std::runtime_error("display vanished");
    co_return n <= self->answers.size() && *self->answers[n - 1];
  }

  void expectTimes(std::vector<double> expected) { EXPECT_THAT(times, Pointwise(DoubleNear(1e-9), expected)); }

  sim::ManualLoop loop;
  std::vector<std::optional<bool>> answers;
  std::vector<double> times;
};

}  // namespace

TEST_F(RotationRecoveryTest, AttemptsAfterEachDelayUntilOneSucceedsOrTheDelaysRunOut) {
  auto recovery = make(sessionDelays, {false, true});
  recovery->request();
  recovery->request();  // a request during a run neither restarts nor extends it
  EXPECT_EQ(recovery->generation(), 1u);
  loop.advance(100);
  EXPECT_FALSE(recovery->isRunning());
  recovery->request();  // from the first delay again; every attempt now fails
  loop.advance(100);
  expectTimes({0.6, 1.6, 100.6, 101.6, 103.6, 107.6});
  EXPECT_FALSE(recovery->isRunning());
}

TEST_F(RotationRecoveryTest, CancelStopsWithoutAnAttemptAndTheOldRunLeavesTheNextAlone) {
  auto recovery = make(sessionDelays);
  recovery->cancel();  // idle: still bumps the generation
  EXPECT_EQ(recovery->generation(), 1u);
  recovery->request();
  loop.advance(0.3);
  recovery->cancel();
  EXPECT_FALSE(recovery->isRunning());
  EXPECT_EQ(recovery->generation(), 3u);
  recovery->request();  // at once: the old run must not clear the new run's task when it ends
  loop.advance(0.6);
  expectTimes({0.9});
  EXPECT_TRUE(recovery->isRunning());
  EXPECT_EQ(loop.pendingTimerCount(), 1u);  // only the new run's delay is pending
}

TEST_F(RotationRecoveryTest, KeepsOnlyFiniteNonNegativeDelays) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  auto recovery = make({-1, nan, 0.5, inf, -inf, -0.0});
  EXPECT_EQ(recovery->delays(), (std::vector<double>{0.5, 0.0}));
  EXPECT_TRUE(std::signbit(recovery->delays()[1]));
  for (auto idle : {make({}), make({-2})}) {
    idle->request();
    EXPECT_FALSE(idle->isRunning());
    EXPECT_EQ(idle->generation(), 0u);
  }
}

TEST_F(RotationRecoveryTest, ASleepThatThrowsEndsTheRunAndAThrowingAttemptCountsAsNotDone) {
  int sleeps = 0;
  auto recovery = make(sessionDelays, {}, [&sleeps](double) -> Task<void> {
    ++sleeps;
    throw std::runtime_error("clock gone");
    co_return;
  });
  recovery->request();
  loop.advance(10);
  EXPECT_EQ(sleeps, 1);
  EXPECT_TRUE(times.empty());
  EXPECT_FALSE(recovery->isRunning());

  auto retrying = make({0.1, 0.1}, {std::nullopt, std::nullopt});
  retrying->request();
  loop.advance(1);
  EXPECT_EQ(times.size(), 2u);
  EXPECT_FALSE(retrying->isRunning());
}

TEST_F(RotationRecoveryTest, ARunKeepsItsSchedulerAliveUntilItEndsAndOneThatCannotEndIsNotRunning) {
  auto requestAndDrop = [this](bool letItStart) {
    auto recovery = make({0.2});
    recovery->request();
    if (letItStart) loop.runUntilIdle();
    return std::weak_ptr<RotationRecovery>(recovery);
  };
  auto dropped = requestAndDrop(false), running = requestAndDrop(true);
  EXPECT_TRUE(dropped.expired());
  EXPECT_FALSE(running.expired());
  loop.advance(1);
  EXPECT_EQ(times.size(), 1u);  // only the run that started
  EXPECT_TRUE(running.expired());

  // A run whose attempt can never complete does not block later requests.
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
