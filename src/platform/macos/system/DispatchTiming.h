#pragma once

#include <cstdint>
#include <optional>

#include "platform/SerialQueue.h"

namespace turnlet::macos {

// The dispatch queue's quality-of-service class for the interface's value (the platform's
// qos_class_t numbers; the Mac build checks them against the SDK's constants).
unsigned qosClassValue(QualityOfService qos);

// A delay as dispatch_time's nanoseconds: NaN and negative delays are zero, delays beyond what
// 64 bits of nanoseconds hold are the largest, and an infinite delay is nothing (the work never
// falls due, as on the other queues).
std::optional<std::int64_t> delayNanoseconds(double seconds);

}  // namespace turnlet::macos
