#pragma once

#include <memory>
#include <string>

#include "platform/MainLoop.h"
#include "platform/SerialQueue.h"

namespace turnlet::sim {

// A serial queue whose work runs on the main loop itself, in order, in the loop's virtual time:
// a whole simulated system (capture, GPU, display) then advances with the loop alone. Work not
// started when the queue is destroyed is dropped.
class LoopSerialQueue : public SerialQueue {
 public:
  LoopSerialQueue(std::string label, MainLoop& loop) : name(std::move(label)), loop(loop) {}
  ~LoopSerialQueue() override { *alive = false; }

  const std::string& label() const override { return name; }
  void async(std::function<void()> fn) override { loop.post(guarded(std::move(fn))); }
  void asyncAfter(double delaySeconds, std::function<void()> fn) override {
    // Posted at its time, so it runs after work queued before it.
    loop.post([&loop = loop, delaySeconds, fn = guarded(std::move(fn))] { loop.schedule(delaySeconds, fn); });
  }

 private:
  std::function<void()> guarded(std::function<void()> fn) {
    return [open = alive, fn = std::move(fn)] {
      if (*open) fn();
    };
  }
  std::string name;
  MainLoop& loop;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

class LoopQueueFactory : public QueueFactory {
 public:
  explicit LoopQueueFactory(MainLoop& loop) : loop(loop) {}
  std::unique_ptr<SerialQueue> makeSerialQueue(std::string label, QualityOfService) override {
    return std::make_unique<LoopSerialQueue>(std::move(label), loop);
  }

 private:
  MainLoop& loop;
};

}  // namespace turnlet::sim
