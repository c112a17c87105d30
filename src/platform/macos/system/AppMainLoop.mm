#import "macos/system/AppMainLoop.h"

#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <array>
#include <cassert>

#include "macos/bridge/PlatformEntry.h"

namespace turnlet::macos {

namespace {

// The timer repeats so that firing never invalidates it; every pass sets its next date anyway.
constexpr CFTimeInterval idleInterval = 1.0e9;

double uptime() { return NSProcessInfo.processInfo.systemUptime; }

std::array<CFRunLoopMode, 3> loopModes() {
  // AppKit adds its modes to the common ones; naming them too keeps the loop alive in them even
  // if that ever changes.
  return {kCFRunLoopCommonModes, (__bridge CFRunLoopMode)NSModalPanelRunLoopMode,
          (__bridge CFRunLoopMode)NSEventTrackingRunLoopMode};
}

}  // namespace

AppMainLoop::AppMainLoop() : core(uptime) {
  assert(NSThread.isMainThread && "the main loop is made on the main thread");
  CFRunLoopSourceContext sourceContext = {};
  sourceContext.info = this;
  sourceContext.perform = perform;
  CFRunLoopSourceRef createdSource = CFRunLoopSourceCreate(kCFAllocatorDefault, 0, &sourceContext);

  CFRunLoopTimerContext timerContext = {};
  timerContext.info = this;
  CFRunLoopTimerRef createdTimer = CFRunLoopTimerCreate(kCFAllocatorDefault, CFAbsoluteTimeGetCurrent() + idleInterval,
                                                        idleInterval, 0, 0, fire, &timerContext);

  CFRunLoopRef mainLoop = CFRunLoopGetMain();
  for (CFRunLoopMode mode : loopModes()) {
    CFRunLoopAddSource(mainLoop, createdSource, mode);
    CFRunLoopAddTimer(mainLoop, createdTimer, mode);
  }
  // Both were created here (the create rule): the loop keeps its own references, these are ours.
  source = CFRef<CFRunLoopSourceRef>::adopt(createdSource);
  timer = CFRef<CFRunLoopTimerRef>::adopt(createdTimer);
}

AppMainLoop::~AppMainLoop() {
  CFRunLoopTimerInvalidate(timer.get());
  CFRunLoopSourceInvalidate(source.get());
}

void AppMainLoop::post(std::function<void()> fn) {
  if (core.post(std::move(fn))) wake();
}

MainLoop::TimerId AppMainLoop::schedule(double delaySeconds, std::function<void()> fn, double toleranceSeconds) {
  assert(isLoopThread() && "timers are scheduled on the main loop");
  const TimerId id = core.schedule(delaySeconds, std::move(fn), toleranceSeconds);
  if (!core.inPass()) arm(core.timerArm());  // a running pass arms the timer when it ends
  return id;
}

void AppMainLoop::cancel(TimerId id) {
  core.cancel(id);
  if (!core.inPass()) arm(core.timerArm());  // the window may widen, or nothing be left to wait for
}

double AppMainLoop::now() const { return uptime(); }

bool AppMainLoop::isLoopThread() const { return NSThread.isMainThread; }

void AppMainLoop::run() {
  assert(isLoopThread() && "the loop runs on the main thread");
  if (!core.beginRun()) return;
  CFRunLoopRun();
  core.endRun();
}

void AppMainLoop::stop() {
  if (core.requestStop()) wake();
}

void AppMainLoop::perform(void* info) { static_cast<AppMainLoop*>(info)->pass(); }

void AppMainLoop::fire(CFRunLoopTimerRef, void* info) { static_cast<AppMainLoop*>(info)->pass(); }

void AppMainLoop::pass() {
  MainLoopCore::PassEnd end;
  // Nothing may unwind through the run loop: work that throws ends its pass, and the rest of the
  // work waits for the next one.
  const bool ran = ranWithoutException(EntryThread::main, [&] {
    @autoreleasepool {
      end = core.runPass();
    }
  });
  if (!ran) {
    end.more = true;
    end.timer = core.timerArm();
  }
  if (end.more) CFRunLoopSourceSignal(source.get());  // after the loop's other sources: input goes between passes
  arm(end.timer);
  if (end.stop) CFRunLoopStop(CFRunLoopGetMain());
}

void AppMainLoop::wake() {
  CFRunLoopSourceSignal(source.get());
  CFRunLoopWakeUp(CFRunLoopGetMain());
}

void AppMainLoop::arm(const std::optional<MainLoopCore::TimerArm>& when) {
  const CFAbsoluteTime current = CFAbsoluteTimeGetCurrent();
  if (!when) {
    CFRunLoopTimerSetNextFireDate(timer.get(), current + idleInterval);
    return;
  }
  CFRunLoopTimerSetTolerance(timer.get(), when->tolerance);
  CFRunLoopTimerSetNextFireDate(timer.get(), current + when->delay);
}

}  // namespace turnlet::macos
