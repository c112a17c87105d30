#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/MainLoop.h"
#include "platform/SerialQueue.h"
#include "platform/TimerQueue.h"

namespace turnlet::sim {

// A serial queue that runs nothing until the test drains it, on the draining thread. Delays are
// measured on the main loop's clock, so they follow virtual time.
class ManualSerialQueue : public SerialQueue {
 public:
  ManualSerialQueue(std::string label, MainLoop& clock) : name(std::move(label)), clock(clock) {}

  const std::string& label() const override { return name; }
  void async(std::function<void()> fn) override;
  void asyncAfter(double delaySeconds, std::function<void()> fn) override;

  // Runs the queued work and the delayed work that is due, in order; returns how many ran.
  std::size_t drain();
  // What destroying the queue does: drops the work not started; a drain in progress stops.
  void close();

 private:
  std::string name;
  MainLoop& clock;
  mutable std::mutex mutex;
  std::deque<std::function<void()>> queued;
  TimerQueue delayed;
  bool closed = false;
};

// Makes manual queues and remembers them, so a test can reach a queue by label or drain all.
class ManualQueueFactory : public QueueFactory {
 public:
  explicit ManualQueueFactory(MainLoop& clock) : clock(clock) {}

  std::unique_ptr<SerialQueue> makeSerialQueue(std::string label, QualityOfService qos) override;

  // Drains every live queue until all are empty; returns how many functions ran.
  std::size_t drainAll();
  std::vector<std::pair<std::string, QualityOfService>> created() const;

 private:
  MainLoop& clock;
  mutable std::mutex mutex;
  std::vector<std::weak_ptr<ManualSerialQueue>> queues;
  std::vector<std::pair<std::string, QualityOfService>> history;
};

}  // namespace turnlet::sim
