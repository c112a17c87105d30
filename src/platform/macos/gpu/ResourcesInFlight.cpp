#include "macos/gpu/ResourcesInFlight.h"

#include <utility>

namespace turnlet::macos {

void ResourcesInFlight::keep(std::shared_ptr<const void> resource) {
  std::lock_guard<std::mutex> lock(mutex);
  if (!completed) resources.push_back(std::move(resource));
  // else: the lock guard ends first, then resource, outside the lock.
}

void ResourcesInFlight::complete() {
  std::vector<std::shared_ptr<const void>> done;
  {
    std::lock_guard<std::mutex> lock(mutex);
    completed = true;
    done.swap(resources);
  }
  // done ends here, outside the lock: a resource's end may take locks of its own.
}

std::size_t ResourcesInFlight::kept() const {
  std::lock_guard<std::mutex> lock(mutex);
  return resources.size();
}

}  // namespace turnlet::macos
