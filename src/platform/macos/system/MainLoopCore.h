#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>

#include "macos/system/TimerSlack.h"
#include "platform/MainLoop.h"
#include "platform/TimerQueue.h"

namespace turnlet::macos {

// The main loop's bookkeeping on the application's run loop, without the run loop: posted work and
// timers in LoopWork's order, when to signal the loop's source, when and how precisely to arm its
// one timer, and stop requests for a caller that runs the loop itself. The platform part owns a
// run-loop source and a timer, both registered in every mode the application runs its loop in;
// each of them runs one pass.
//
// post(), requestStop() and now() are for any thread; the rest for the loop's thread. Passes may
// nest: work that runs a nested run loop (a modal panel, menu tracking) gets further passes inside
// it, which go on with the same order.
class MainLoopCore final {
 public:
  // When to fire the loop's timer: delay from now, and how much later the system may fire it.
  struct TimerArm final {
    double delay;
    double tolerance;
  };
  struct PassEnd final {
    bool more = false;  // work is left: signal the source again, so input is handled in between
    bool stop = false;  // a stop was asked for while run() runs the loop: stop the run loop
    std::optional<TimerArm> timer;  // absent: no timer pending, disarm
  };

  explicit MainLoopCore(std::function<double()> clock);
  ~MainLoopCore();
  MainLoopCore(const MainLoopCore&) = delete;
  MainLoopCore& operator=(const MainLoopCore&) = delete;

  // Returns true when the caller must signal the source (no wake is outstanding).
  bool post(std::function<void()> fn);
  MainLoop::TimerId schedule(double delaySeconds, std::function<void()> fn, double toleranceSeconds);
  void cancel(MainLoop::TimerId id);
  double now() const { return clock(); }

  // Runs one pass: the work due when it began, at most, in LoopWork's order.
  PassEnd runPass();
  // Whether a pass is running on the loop's thread now (a timer scheduled inside one is armed
  // when the pass ends).
  bool inPass() const { return passDepth > 0; }
  // The timer's arm as things stand.
  std::optional<TimerArm> timerArm();

  // A caller that runs the loop itself: beginRun() returns false when a stop came first (and
  // consumes it); requestStop() returns true when the source must be signalled.
  bool beginRun();
  void endRun();
  bool requestStop();

  std::size_t pendingPostCount() const;
  std::size_t pendingTimerCount() const;

 private:
  std::optional<TimerArm> timerArmLocked(double time);

  std::function<double()> clock;
  mutable std::mutex mutex;
  LoopWork work;
  TimerSlack slack;
  bool wakePending = false;
  bool stopRequested = false;
  int runDepth = 0;    // loop thread only
  int passDepth = 0;   // loop thread only
};

}  // namespace turnlet::macos
