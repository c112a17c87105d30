#pragma once

#include <memory>
#include <mutex>
#include <thread>

#include "platform/MainLoop.h"
#include "platform/TimerQueue.h"

class QEventLoop;
class QSocketNotifier;
class QTimer;

namespace turnlet::qt {

// The main loop on Qt's event loop, in LoopWork's order, so that widgets and the program's logic
// share one thread. Posted work and timers live in this object's own queue under its own mutex;
// Qt is only woken: a post from any thread writes to an event descriptor that Qt watches, and the
// earliest timer arms one Qt timer. Each wake runs about one pass and then returns to Qt, so a
// stream of posts never starves input and painting.
//
// Created, run and destroyed on the thread of the one QApplication (or QCoreApplication), which
// must exist first. The work runs whenever Qt's event loop runs on that thread; run() and stop()
// are for a caller that has no loop of its own. The clock is the monotonic clock, in seconds.
class QtMainLoop : public MainLoop {
 public:
  QtMainLoop();
  ~QtMainLoop() override;
  QtMainLoop(const QtMainLoop&) = delete;
  QtMainLoop& operator=(const QtMainLoop&) = delete;

  void post(std::function<void()> fn) override;
  TimerId schedule(double delaySeconds, std::function<void()> fn, double toleranceSeconds = 0) override;
  void cancel(TimerId id) override;
  double now() const override;
  bool isLoopThread() const override;

  // Runs Qt's event loop until stop(); a stop() that comes before run() makes it return at once.
  void run();
  // May be called from any thread; run() returns after the work it is running.
  void stop();

 private:
  void wake();
  void drain();
  void armTimer();

  mutable std::mutex mutex;
  LoopWork work;
  bool wakePending = false;
  bool stopping = false;
  const std::thread::id owner;
  int wakeDescriptor = -1;

  // Loop thread only.
  bool draining = false;
  QEventLoop* running = nullptr;
  std::unique_ptr<QSocketNotifier> notifier;
  std::unique_ptr<QTimer> timer;
};

}  // namespace turnlet::qt
