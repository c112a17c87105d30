#include "host/StderrLog.h"

#include <cstdio>
#include <mutex>

namespace turnlet::host {

namespace {
std::mutex& outputMutex() {
  static std::mutex m;
  return m;
}
}  // namespace

void StderrLog::line(const std::string& text) {
  std::lock_guard lock(outputMutex());
  std::fprintf(stderr, "turnlet: %s\n", text.c_str());
}

void StderrLog::info(const std::string& subsystem, const std::string& category, const std::string& message) {
  std::lock_guard lock(outputMutex());
  std::fprintf(stderr, "turnlet [%s:%s] %s\n", subsystem.c_str(), category.c_str(), message.c_str());
}

}  // namespace turnlet::host
