#import "macos/system/UnifiedLog.h"

#import <Foundation/Foundation.h>

#include "macos/bridge/TextBridge.h"
#include "macos/bridge/TextEncoding.h"

namespace turnlet::macos {

void UnifiedLog::line(const std::string& text) { NSLog(@"%@", makeNSString(text)); }

void UnifiedLog::info(const std::string& subsystem, const std::string& category, const std::string& message) {
  os_log_t log = logFor(subsystem, category);
  os_log_info(log, "%{public}s", repairedUtf8(message).c_str());
}

os_log_t UnifiedLog::logFor(const std::string& subsystem, const std::string& category) {
  std::lock_guard lock(mutex);
  auto key = std::make_pair(subsystem, category);
  auto it = logs.find(key);
  if (it == logs.end()) {
    it = logs.emplace(key, os_log_create(repairedUtf8(subsystem).c_str(), repairedUtf8(category).c_str())).first;
  }
  return it->second;
}

}  // namespace turnlet::macos
