#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/MainLoop.h"
#include "platform/TimerQueue.h"

namespace turnlet::host {

// The main loop in real time: run() blocks the calling thread, which becomes the loop's thread,
// running posted work and due timers until stop(), in LoopWork's order. The clock is the monotonic clock, in seconds.
class RunLoop : public MainLoop {
 public:
  RunLoop();
  ~RunLoop() override;

  void post(std::function<void()> fn) override;
  TimerId schedule(double delaySeconds, std::function<void()> fn, double toleranceSeconds = 0) override;
  void cancel(TimerId id) override;
  double now() const override;
  bool isLoopThread() const override;

  void run();
  // May be called from any thread; run() returns after the work it is running.
  void stop();

 private:
  mutable std::mutex mutex;
  std::condition_variable wake;
  LoopWork work;
  bool stopping = false;
  std::thread::id owner;
};

}  // namespace turnlet::host
