#pragma once

#include <memory>
#include <mutex>
#include <vector>

namespace turnlet::macos {

// What one command buffer's recorded work reads (the frame textures, the pixel buffers behind
// them, the drawable): kept from encoding until the buffer has completed on the GPU, then let go
// on the thread that reports the completion, which may be the last owner. A texture viewed
// through the texture cache reads its pixel buffer's memory only while its cache object lives,
// and the platform's buffer does not hold that object, so this holder does.
//
// keep() on the main loop while encoding; complete() once, from the buffer's completed handler on
// a GPU thread. What is kept after completion is let go at once.
class ResourcesInFlight final {
 public:
  void keep(std::shared_ptr<const void> resource);
  void complete();
  std::size_t kept() const;

 private:
  mutable std::mutex mutex;
  std::vector<std::shared_ptr<const void>> resources;
  bool completed = false;
};

}  // namespace turnlet::macos
