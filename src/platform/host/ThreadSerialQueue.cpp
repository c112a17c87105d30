#include "host/ThreadSerialQueue.h"

#include <chrono>
#include <cmath>

#include "host/MonotonicClock.h"

namespace turnlet::host {

ThreadSerialQueue::ThreadSerialQueue(std::string label) : name(std::move(label)), worker([this] { work(); }) {}

ThreadSerialQueue::~ThreadSerialQueue() {
  {
    std::lock_guard lock(mutex);
    stopping = true;
  }
  wake.notify_all();
  worker.join();
}

void ThreadSerialQueue::async(std::function<void()> fn) {
  {
    std::lock_guard lock(mutex);
    queued.push_back(std::move(fn));
  }
  wake.notify_one();
}

void ThreadSerialQueue::asyncAfter(double delaySeconds, std::function<void()> fn) {
  {
    std::lock_guard lock(mutex);
    delayed.add(monotonicSeconds() + sanitizedDelay(delaySeconds), std::move(fn));
  }
  wake.notify_one();
}

void ThreadSerialQueue::work() {
  for (;;) {
    std::function<void()> fn;
    {
      std::unique_lock lock(mutex);
      for (;;) {
        if (stopping) return;
        // Delayed work joins the tail of the queue when it falls due, behind what came first.
        const double now = monotonicSeconds();
        while (auto due = delayed.popDue(now)) queued.push_back(std::move(*due));
        if (!queued.empty()) {
          fn = std::move(queued.front());
          queued.pop_front();
          break;
        }
        if (auto next = delayed.nextDue(); next && std::isfinite(*next)) {
          wake.wait_for(lock, std::chrono::duration<double>(*next - monotonicSeconds()));
        } else {
          wake.wait(lock);
        }
      }
    }
    fn();
  }
}

std::unique_ptr<SerialQueue> ThreadQueueFactory::makeSerialQueue(std::string label, QualityOfService) {
  return std::make_unique<ThreadSerialQueue>(std::move(label));
}

}  // namespace turnlet::host
