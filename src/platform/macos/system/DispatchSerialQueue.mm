#import "macos/system/DispatchSerialQueue.h"

#import <Foundation/Foundation.h>

#include "macos/bridge/PlatformEntry.h"
#include "macos/system/DispatchTiming.h"

namespace turnlet::macos {

static_assert(QOS_CLASS_BACKGROUND == 0x09 && QOS_CLASS_UTILITY == 0x11 && QOS_CLASS_DEFAULT == 0x15 &&
                  QOS_CLASS_USER_INITIATED == 0x19 && QOS_CLASS_USER_INTERACTIVE == 0x21,
              "qosClassValue follows the platform's quality-of-service classes");

DispatchSerialQueue::DispatchSerialQueue(std::string label, QualityOfService qos)
    : name(std::move(label)),
      queue(dispatch_queue_create(name.c_str(),
                                  dispatch_queue_attr_make_with_qos_class(
                                      DISPATCH_QUEUE_SERIAL, static_cast<dispatch_qos_class_t>(qosClassValue(qos)), 0))) {}

DispatchSerialQueue::~DispatchSerialQueue() { core->close(); }

void DispatchSerialQueue::async(std::function<void()> fn) {
  const auto id = core->add(std::move(fn));
  if (!id) return;
  std::shared_ptr<SerialQueueCore> shared = core;
  const std::uint64_t number = *id;
  dispatch_async(queue, ^{
    @autoreleasepool {
      ranWithoutException(EntryThread::background, [&] { shared->run(number); });
    }
  });
}

void DispatchSerialQueue::asyncAfter(double delaySeconds, std::function<void()> fn) {
  const auto delay = delayNanoseconds(delaySeconds);
  const auto id = core->add(std::move(fn));
  if (!id || !delay) return;  // an infinite delay never falls due; close() drops it
  std::shared_ptr<SerialQueueCore> shared = core;
  const std::uint64_t number = *id;
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, *delay), queue, ^{
    @autoreleasepool {
      ranWithoutException(EntryThread::background, [&] { shared->run(number); });
    }
  });
}

std::unique_ptr<SerialQueue> DispatchQueueFactory::makeSerialQueue(std::string label, QualityOfService qos) {
  return std::make_unique<DispatchSerialQueue>(std::move(label), qos);
}

}  // namespace turnlet::macos
