#include "macos/display/ConfigurationHandles.h"

namespace turnlet::macos {

DisplayConfiguration ConfigurationHandles::add(void* config) {
  const DisplayConfiguration handle = next++;
  open.emplace(handle, config);
  return handle;
}

void* ConfigurationHandles::find(DisplayConfiguration handle) const {
  auto it = open.find(handle);
  return it == open.end() ? nullptr : it->second;
}

void* ConfigurationHandles::take(DisplayConfiguration handle) {
  auto it = open.find(handle);
  if (it == open.end()) return nullptr;
  void* config = it->second;
  open.erase(it);
  return config;
}

std::vector<void*> ConfigurationHandles::takeAll() {
  std::vector<void*> all;
  for (const auto& [handle, config] : open) all.push_back(config);
  open.clear();
  return all;
}

}  // namespace turnlet::macos
