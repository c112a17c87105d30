#include "macos/system/DispatchTiming.h"

#include <cmath>
#include <limits>

#include "platform/TimerQueue.h"

namespace turnlet::macos {

unsigned qosClassValue(QualityOfService qos) {
  switch (qos) {
    case QualityOfService::background: return 0x09;
    case QualityOfService::utility: return 0x11;
    case QualityOfService::standard: return 0x15;
    case QualityOfService::userInitiated: return 0x19;
    case QualityOfService::userInteractive: return 0x21;
  }
  return 0x15;
}

std::optional<std::int64_t> delayNanoseconds(double seconds) {
  const double delay = sanitizedDelay(seconds);
  if (std::isinf(delay)) return std::nullopt;
  const double nanoseconds = std::ceil(delay * 1e9);
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (nanoseconds >= 9223372036854775808.0) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(nanoseconds);
}

}  // namespace turnlet::macos
