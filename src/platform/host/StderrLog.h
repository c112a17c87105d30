#pragma once

#include "platform/Log.h"

namespace turnlet::host {

// Writes the log to standard error, one line per entry, as the process log would show it.
class StderrLog : public Log {
 public:
  void line(const std::string& text) override;
  void info(const std::string& subsystem, const std::string& category, const std::string& message) override;
};

}  // namespace turnlet::host
