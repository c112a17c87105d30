#include "host/ThreadSerialQueue.h"

#include <chrono>
#include <cmath>

#include "host/MonotonicClock.h"

namespace turnlet::host {

ThreadSerialQueue::ThreadSerialQueue(std::string label)
    : name(std::move(label)), worker([s = shared] { work(s); }) {}

ThreadSerialQueue::~ThreadSerialQueue() {
  {
    std::lock_guard lock(shared->mutex);
    shared->stopping = true;
  }
  shared->wake.notify_all();
  dropPendingWork(shared->mutex, shared->queued, shared->delayed);
  if (worker.get_id() == std::this_thread::get_id()) {
    worker.detach();
  } else {
    worker.join();
  }
}

void ThreadSerialQueue::async(std::function<void()> fn) {
  {
    std::lock_guard lock(shared->mutex);
    shared->queued.push_back(std::move(fn));
  }
  shared->wake.notify_one();
}

void ThreadSerialQueue::asyncAfter(double delaySeconds, std::function<void()> fn) {
  {
    std::lock_guard lock(shared->mutex);
    shared->delayed.add(monotonicSeconds() + sanitizedDelay(delaySeconds), std::move(fn));
  }
  shared->wake.notify_one();
}

void ThreadSerialQueue::work(const std::shared_ptr<Shared>& s) {
  for (;;) {
    std::function<void()> fn;
    {
      std::unique_lock lock(s->mutex);
      for (;;) {
        if (s->stopping) return;
        // Delayed work joins the tail of the queue when it falls due, behind what came first.
        const double now = monotonicSeconds();
        while (auto due = s->delayed.popDue(now)) s->queued.push_back(std::move(*due));
        if (!s->queued.empty()) {
          fn = std::move(s->queued.front());
          s->queued.pop_front();
          break;
        }
        if (auto next = s->delayed.nextDue()) {
          s->wake.wait_for(lock, boundedWait(*next - monotonicSeconds()));
        } else {
          s->wake.wait(lock);
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
