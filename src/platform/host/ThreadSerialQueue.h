#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/SerialQueue.h"
#include "platform/TimerQueue.h"

namespace turnlet::host {

// A serial queue with one worker thread of its own. Destroying the queue drops the work that has
// not started and waits for the running one, unless the queue is destroyed by its own work (the
// work held the last reference to the queue's owner): then the worker finishes by itself.
class ThreadSerialQueue : public SerialQueue {
 public:
  explicit ThreadSerialQueue(std::string label);
  ~ThreadSerialQueue() override;

  const std::string& label() const override { return name; }
  void async(std::function<void()> fn) override;
  void asyncAfter(double delaySeconds, std::function<void()> fn) override;

 private:
  // Shared with the worker, which may outlive the queue object.
  struct Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> queued;
    TimerQueue delayed;
    bool stopping = false;
  };
  static void work(const std::shared_ptr<Shared>& shared);

  std::string name;
  std::shared_ptr<Shared> shared = std::make_shared<Shared>();
  std::thread worker;
};

class ThreadQueueFactory : public QueueFactory {
 public:
  std::unique_ptr<SerialQueue> makeSerialQueue(std::string label, QualityOfService qos) override;
};

}  // namespace turnlet::host
