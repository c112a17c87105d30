#include "host/RunLoop.h"

#include <cassert>
#include <chrono>
#include <cmath>

#include "host/MonotonicClock.h"

namespace turnlet::host {

RunLoop::RunLoop() : owner(std::this_thread::get_id()) {}

RunLoop::~RunLoop() {
  dropPendingWork(mutex, work.posted, work.timers);
}

void RunLoop::post(std::function<void()> fn) {
  {
    std::lock_guard lock(mutex);
    work.posted.push_back(std::move(fn));
  }
  wake.notify_one();
}

MainLoop::TimerId RunLoop::schedule(double delaySeconds, std::function<void()> fn, double) {
  assert(isLoopThread() && "timers are scheduled on the main loop");
  TimerId id;
  {
    std::lock_guard lock(mutex);
    id = work.timers.add(monotonicSeconds() + sanitizedDelay(delaySeconds), std::move(fn));
  }
  wake.notify_one();
  return id;
}

void RunLoop::cancel(TimerId id) {
  std::optional<std::function<void()>> dropped;
  std::lock_guard lock(mutex);
  dropped = work.timers.remove(id);
}

double RunLoop::now() const { return monotonicSeconds(); }

bool RunLoop::isLoopThread() const {
  std::lock_guard lock(mutex);
  return std::this_thread::get_id() == owner;
}

void RunLoop::run() {
  {
    std::lock_guard lock(mutex);
    owner = std::this_thread::get_id();
  }
  for (;;) {
    std::function<void()> fn;
    {
      std::unique_lock lock(mutex);
      for (;;) {
        if (stopping) {
          // Cleared on the way out, not on the way in, so a stop() that races ahead of run() counts.
          stopping = false;
          return;
        }
        if (auto next = work.next(monotonicSeconds())) {
          fn = std::move(*next);
          break;
        }
        if (auto next = work.timers.nextDue()) {
          wake.wait_for(lock, boundedWait(*next - monotonicSeconds()));
        } else {
          wake.wait(lock);
        }
      }
    }
    fn();
  }
}

void RunLoop::stop() {
  {
    std::lock_guard lock(mutex);
    stopping = true;
  }
  wake.notify_all();
}

}  // namespace turnlet::host
