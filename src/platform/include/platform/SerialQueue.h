#pragma once

#include <functional>
#include <memory>
#include <string>

namespace turnlet {

enum class QualityOfService { background, utility, standard, userInitiated, userInteractive };

// A serial queue off the main loop: functions run one at a time, in order, on the queue's own
// thread. async() and asyncAfter() may be called from any thread. Destroying the queue drops the
// work that has not started and waits for the one running.
class SerialQueue {
 public:
  virtual ~SerialQueue() = default;
  virtual const std::string& label() const = 0;
  virtual void async(std::function<void()> fn) = 0;
  virtual void asyncAfter(double delaySeconds, std::function<void()> fn) = 0;
};

class QueueFactory {
 public:
  virtual ~QueueFactory() = default;
  virtual std::unique_ptr<SerialQueue> makeSerialQueue(std::string label, QualityOfService qos) = 0;
};

}  // namespace turnlet
