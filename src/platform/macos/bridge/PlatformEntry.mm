#import "macos/bridge/PlatformEntry.h"

#import <os/log.h>

#include <string>

#include "macos/bridge/TextBridge.h"
#include "macos/bridge/TextEncoding.h"

namespace turnlet::macos {

void logStoppedException(NSException* _Nullable exception, const char* _Nullable what) noexcept {
  @try {
    static os_log_t log = os_log_create("local.turnlet.app", "Entry");
    std::string text = "stopped at an entry from the platform: ";
    if (exception) text += utf8String(exception.name) + ": " + utf8String(exception.reason);
    else text += what ? repairedUtf8(what) : "something other than an exception";
    os_log_info(log, "%{public}s", text.c_str());
  } @catch (...) {
    // Nothing more can be said about it.
  }
}

}  // namespace turnlet::macos
