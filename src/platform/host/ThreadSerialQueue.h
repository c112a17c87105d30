#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/SerialQueue.h"
#include "platform/TimerQueue.h"

namespace turnlet::host {

// A serial queue with one worker thread of its own.
class ThreadSerialQueue : public SerialQueue {
 public:
  explicit ThreadSerialQueue(std::string label);
  ~ThreadSerialQueue() override;

  const std::string& label() const override { return name; }
  void async(std::function<void()> fn) override;
  void asyncAfter(double delaySeconds, std::function<void()> fn) override;

 private:
  void work();

  std::string name;
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::function<void()>> queued;
  TimerQueue delayed;
  bool stopping = false;
  std::thread worker;
};

class ThreadQueueFactory : public QueueFactory {
 public:
  std::unique_ptr<SerialQueue> makeSerialQueue(std::string label, QualityOfService qos) override;
};

}  // namespace turnlet::host
