#import "macos/bridge/ErrorBridge.h"

#include <cstdint>

#include "macos/bridge/TextBridge.h"

namespace turnlet::macos {

PlatformError platformError(NSError* error) {
  return PlatformError(utf8String(error.domain), static_cast<std::int64_t>(error.code), utf8String(error.localizedDescription));
}

}  // namespace turnlet::macos
