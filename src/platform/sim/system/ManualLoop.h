#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/MainLoop.h"
#include "platform/TimerQueue.h"

namespace turnlet::sim {

// A main loop in virtual time, driven by the test. Nothing runs until the test calls
// runUntilIdle() or advance(); time moves only in advance(). A step limit turns a livelock into
// a LoopWatchdogError instead of a hang. Work runs in LoopWork's order, as on the real loop. post() is thread-safe; the rest belongs to the thread
// that drives the loop.
class ManualLoop : public MainLoop {
 public:
  ManualLoop();
  ~ManualLoop() override;

  void post(std::function<void()> fn) override;
  TimerId schedule(double delaySeconds, std::function<void()> fn, double toleranceSeconds = 0) override;
  void cancel(TimerId id) override;
  double now() const override;
  bool isLoopThread() const override;

  static constexpr std::size_t defaultStepLimit = 1'000'000;

  // Runs posted work and the timers due now until nothing is left; returns the number of steps.
  std::size_t runUntilIdle(std::size_t stepLimit = defaultStepLimit);
  // Moves time forward by seconds, running everything that falls due in time order.
  void advance(double seconds, std::size_t stepLimit = defaultStepLimit);
  // Moves the clock without running anything, as if the loop had been blocked that long.
  void stall(double seconds);
  // Advances through timers until the predicate holds or maxSeconds have passed; returns whether
  // it holds.
  bool runUntil(const std::function<bool()>& predicate, double maxSeconds, std::size_t stepLimit = defaultStepLimit);

  std::size_t pendingTimerCount() const;
  std::size_t pendingPostCount() const;

 private:
  bool runOne(double until);

  mutable std::mutex mutex;
  LoopWork work;
  double time = 0;
  std::thread::id owner;
};

class LoopWatchdogError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace turnlet::sim
