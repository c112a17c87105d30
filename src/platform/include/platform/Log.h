#pragma once

#include <string>

namespace turnlet {

// Diagnostic output, never shown to the user.
class Log {
 public:
  virtual ~Log() = default;
  // One line of the process log, as NSLog writes it.
  virtual void line(const std::string& text) = 0;
  // An info-level message of the unified log.
  virtual void info(const std::string& subsystem, const std::string& category, const std::string& message) = 0;
};

}  // namespace turnlet
