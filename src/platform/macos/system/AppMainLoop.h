#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include "macos/bridge/CFRef.h"
#include "macos/system/MainLoopCore.h"
#include "platform/MainLoop.h"

namespace turnlet::macos {

// The main loop is the application's run loop on the main thread. Posted work and timers reach it
// through one run-loop source and one run-loop timer, both registered in the common modes and,
// explicitly, in the modal-panel and event-tracking modes, so they run while a menu is open and
// while a terminate-later reply is pending. The timer is armed for the earliest timer with the
// tolerance its deadline allows (TimerSlack). now() is the system's uptime, which does not count
// sleep (the clock of event timestamps).
//
// Made and destroyed on the main thread, before the application runs and after it stops; it must
// outlive everything that posts to it.
class AppMainLoop final : public MainLoop {
 public:
  AppMainLoop();
  ~AppMainLoop() override;
  AppMainLoop(const AppMainLoop&) = delete;
  AppMainLoop& operator=(const AppMainLoop&) = delete;

  void post(std::function<void()> fn) override;
  TimerId schedule(double delaySeconds, std::function<void()> fn, double toleranceSeconds = 0) override;
  void cancel(TimerId id) override;
  double now() const override;
  bool isLoopThread() const override;

  // For a caller without NSApplication (the loop's tests): runs the main run loop until stop().
  void run();
  // Any thread; a stop() before run() makes it return at once.
  void stop();

 private:
  static void perform(void* info);
  static void fire(CFRunLoopTimerRef timer, void* info);
  void pass();
  void wake();
  void arm(const std::optional<MainLoopCore::TimerArm>& when);

  MainLoopCore core;
  CFRef<CFRunLoopSourceRef> source;
  CFRef<CFRunLoopTimerRef> timer;
};

}  // namespace turnlet::macos
