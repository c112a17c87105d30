#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/Log.h"

namespace turnlet::sim {

// A log that keeps what was written, for tests to read back. Thread-safe.
class RecordingLog : public Log {
 public:
  struct InfoMessage {
    std::string subsystem, category, message;
    bool operator==(const InfoMessage&) const = default;
  };

  void line(const std::string& text) override {
    std::lock_guard lock(mutex);
    lineList.push_back(text);
  }
  void info(const std::string& subsystem, const std::string& category, const std::string& message) override {
    std::lock_guard lock(mutex);
    infoList.push_back({subsystem, category, message});
  }

  std::vector<std::string> lines() const {
    std::lock_guard lock(mutex);
    return lineList;
  }
  std::vector<InfoMessage> infos() const {
    std::lock_guard lock(mutex);
    return infoList;
  }

 private:
  mutable std::mutex mutex;
  std::vector<std::string> lineList;
  std::vector<InfoMessage> infoList;
};

}  // namespace turnlet::sim
