#include "sim/ManualLoop.h"

#include <cmath>

namespace turnlet::sim {

ManualLoop::ManualLoop() : owner(std::this_thread::get_id()) {}

ManualLoop::~ManualLoop() {
  dropPendingWork(mutex, posted, timers);
}

void ManualLoop::post(std::function<void()> fn) {
  std::lock_guard lock(mutex);
  posted.push_back(std::move(fn));
}

MainLoop::TimerId ManualLoop::schedule(double delaySeconds, std::function<void()> fn, double) {
  std::lock_guard lock(mutex);
  return timers.add(time + sanitizedDelay(delaySeconds), std::move(fn));
}

void ManualLoop::cancel(TimerId id) {
  std::optional<std::function<void()>> dropped;
  std::lock_guard lock(mutex);
  dropped = timers.remove(id);
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
    if (!posted.empty()) {
      fn = std::move(posted.front());
      posted.pop_front();
    } else if (auto due = timers.nextDue(); due && *due <= until && std::isfinite(*due)) {
      if (*due > time) time = *due;
      fn = std::move(*timers.popDue(*due));
    } else {
      return false;
    }
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
  return timers.size();
}

std::size_t ManualLoop::pendingPostCount() const {
  std::lock_guard lock(mutex);
  return posted.size();
}

}  // namespace turnlet::sim
