#pragma once

#import <dispatch/dispatch.h>

#include <memory>
#include <string>

#include "macos/system/SerialQueueCore.h"
#include "platform/SerialQueue.h"

namespace turnlet::macos {

// A serial dispatch queue with the label and quality of service asked for. The work stays in a
// SerialQueueCore that the blocks share, so that destroying the queue drops what has not started
// and waits for the work running (unless that work is what destroys it).
class DispatchSerialQueue final : public SerialQueue {
 public:
  DispatchSerialQueue(std::string label, QualityOfService qos);
  ~DispatchSerialQueue() override;

  const std::string& label() const override { return name; }
  void async(std::function<void()> fn) override;
  void asyncAfter(double delaySeconds, std::function<void()> fn) override;

  // The dispatch queue itself, for a service that hands it to the platform (a capture stream's
  // sample-handler queue); work the platform puts there bypasses async().
  dispatch_queue_t _Nonnull dispatchQueue() const { return queue; }

 private:
  std::string name;
  std::shared_ptr<SerialQueueCore> core = std::make_shared<SerialQueueCore>();
  dispatch_queue_t _Nonnull queue;
};

class DispatchQueueFactory final : public QueueFactory {
 public:
  std::unique_ptr<SerialQueue> makeSerialQueue(std::string label, QualityOfService qos) override;
};

}  // namespace turnlet::macos
