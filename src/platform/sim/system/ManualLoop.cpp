#include "sim/system/ManualLoop.h"

#include <cassert>
#include <cmath>

namespace turnlet::sim {

ManualLoop::ManualLoop() : owner(std::this_thread::get_id()) {}

ManualLoop::~ManualLoop() {
  dropPendingWork(mutex, work.posted, work.timers);
}

void ManualLoop::post(std::function<void()> fn) {
  std::lock_guard lock(mutex);
  work.posted.push_back(std::move(fn));
}

MainLoop::TimerId ManualLoop::schedule(double delaySeconds, std::function<void()> fn, double) {
  assert(isLoopThread() && "timers are scheduled on the main loop");
  std::lock_guard lock(mutex);
  return work.timers.add(time + sanitizedDelay(delaySeconds), std::move(fn));
}

void ManualLoop::cancel(TimerId id) {
  std::optional<std::function<void()>> dropped;
  std::lock_guard lock(mutex);
  dropped = work.timers.remove(id);
}

double ManualLoop::now() const {
  std::lock_guard lock(mutex);
  return time;
}

bool ManualLoop::isLoopThread() const { return std::this_thread::get_id() == owner; }

bool ManualLoop::runOne(double until) {
  std::function<void()> fn;
  {
    std::lock_guard lock(mutex);
    auto next = work.next(time);
    if (!next) {
      // Nothing is due now: time moves on to the next timer, if it falls due in time.
      auto due = work.timers.nextDue();
      if (!due || *due > until || !std::isfinite(*due)) return false;
      if (*due > time) time = *due;
      next = work.next(time);
      if (!next) return false;
    }
    fn = std::move(*next);
  }
  fn();
  return true;
}

std::size_t ManualLoop::runUntilIdle(std::size_t stepLimit) {
  std::size_t steps = 0;
  while (runOne(now())) {
    if (++steps > stepLimit) throw LoopWatchdogError("main loop still busy after the step limit");
  }
  return steps;
}

void ManualLoop::advance(double seconds, std::size_t stepLimit) {
  const double target = now() + sanitizedDelay(seconds);
  std::size_t steps = 0;
  while (runOne(target)) {
    if (++steps > stepLimit) throw LoopWatchdogError("main loop still busy after the step limit");
  }
  std::lock_guard lock(mutex);
  if (target > time && std::isfinite(target)) time = target;
}

void ManualLoop::stall(double seconds) {
  std::lock_guard lock(mutex);
  time += sanitizedDelay(seconds);
}

bool ManualLoop::runUntil(const std::function<bool()>& predicate, double maxSeconds, std::size_t stepLimit) {
  const double deadline = now() + sanitizedDelay(maxSeconds);
  std::size_t steps = 0;
  for (;;) {
    if (predicate()) return true;
    if (!runOne(deadline)) break;
    if (++steps > stepLimit) throw LoopWatchdogError("main loop still busy after the step limit");
  }
  {
    std::lock_guard lock(mutex);
    if (deadline > time && std::isfinite(deadline)) time = deadline;
  }
  return predicate();
}

std::size_t ManualLoop::pendingTimerCount() const {
  std::lock_guard lock(mutex);
  return work.timers.size();
}

std::size_t ManualLoop::pendingPostCount() const {
  std::lock_guard lock(mutex);
  return work.posted.size();
}

}  // namespace turnlet::sim
