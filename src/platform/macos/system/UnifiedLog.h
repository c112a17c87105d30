#pragma once

#import <os/log.h>

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/Log.h"

namespace turnlet::macos {

// The process log through NSLog ("%@" with the line, so a "%" in it is printed as is) and the
// unified log: one log object per subsystem and category, made at first use and kept; messages at
// the info level, public (the program logs nothing private). Any thread.
class UnifiedLog final : public Log {
 public:
  void line(const std::string& text) override;
  void info(const std::string& subsystem, const std::string& category, const std::string& message) override;

 private:
  os_log_t _Nonnull logFor(const std::string& subsystem, const std::string& category);

  std::mutex mutex;
  std::map<std::pair<std::string, std::string>, os_log_t> logs;
};

}  // namespace turnlet::macos
