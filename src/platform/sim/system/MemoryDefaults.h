#pragma once

#include <map>

#include "platform/UserDefaults.h"

namespace turnlet::sim {

// A user-defaults store that lives in memory only.
class MemoryDefaults : public UserDefaults {
 public:
  std::optional<DefaultsValue> value(const std::string& key) const override {
    auto it = values.find(key);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void set(const std::string& key, DefaultsValue value) override { values[key] = std::move(value); }
  void remove(const std::string& key) override { values.erase(key); }

  const std::map<std::string, DefaultsValue>& all() const { return values; }

 private:
  std::map<std::string, DefaultsValue> values;
};

}  // namespace turnlet::sim
