#include "sim/system/ManualSerialQueue.h"

namespace turnlet::sim {

void ManualSerialQueue::async(std::function<void()> fn) {
  std::lock_guard lock(mutex);
  queued.push_back(std::move(fn));
}

void ManualSerialQueue::asyncAfter(double delaySeconds, std::function<void()> fn) {
  const double due = clock.now() + sanitizedDelay(delaySeconds);
  std::lock_guard lock(mutex);
  delayed.add(due, std::move(fn));
}

std::size_t ManualSerialQueue::drain() {
  std::size_t ran = 0;
  for (;;) {
    std::function<void()> fn;
    {
      const double now = clock.now();
      std::lock_guard lock(mutex);
      if (closed) return ran;
      while (auto due = delayed.popDue(now)) queued.push_back(std::move(*due));
      if (!queued.empty()) {
        fn = std::move(queued.front());
        queued.pop_front();
      } else {
        return ran;
      }
    }
    fn();
    ++ran;
  }
}

void ManualSerialQueue::close() {
  {
    std::lock_guard lock(mutex);
    closed = true;
  }
  dropPendingWork(mutex, queued, delayed);
}

std::unique_ptr<SerialQueue> ManualQueueFactory::makeSerialQueue(std::string label, QualityOfService qos) {
  // The caller owns the queue; the factory keeps a non-owning alias so tests can reach it.
  auto owned = std::make_shared<ManualSerialQueue>(label, clock);
  {
    std::lock_guard lock(mutex);
    queues.push_back(owned);
    history.emplace_back(label, qos);
  }
  struct Owner : SerialQueue {
    std::shared_ptr<ManualSerialQueue> q;
    explicit Owner(std::shared_ptr<ManualSerialQueue> q) : q(std::move(q)) {}
    ~Owner() override { q->close(); }
    const std::string& label() const override { return q->label(); }
    void async(std::function<void()> fn) override { q->async(std::move(fn)); }
    void asyncAfter(double d, std::function<void()> fn) override { q->asyncAfter(d, std::move(fn)); }
  };
  return std::make_unique<Owner>(std::move(owned));
}

std::size_t ManualQueueFactory::drainAll() {
  std::size_t total = 0;
  for (;;) {
    std::vector<std::shared_ptr<ManualSerialQueue>> live;
    {
      std::lock_guard lock(mutex);
      for (auto& w : queues)
        if (auto q = w.lock()) live.push_back(q);
    }
    std::size_t ran = 0;
    for (auto& q : live) ran += q->drain();
    total += ran;
    if (ran == 0) return total;
  }
}

std::vector<std::pair<std::string, QualityOfService>> ManualQueueFactory::created() const {
  std::lock_guard lock(mutex);
  return history;
}

}  // namespace turnlet::sim
