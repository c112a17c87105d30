#include "macos/system/SerialQueueCore.h"

namespace turnlet::macos {

std::optional<std::uint64_t> SerialQueueCore::add(std::function<void()> fn) {
  {
    std::lock_guard lock(mutex);
    if (!closed) {
      const std::uint64_t id = nextId++;
      pending.emplace(id, std::move(fn));
      return id;
    }
  }
  return std::nullopt;  // fn ends here, outside the lock
}

void SerialQueueCore::run(std::uint64_t id) {
  // Ends the work, and what it captured, before close() may return, however fn leaves.
  struct Running {
    SerialQueueCore& core;
    std::function<void()> fn;
    ~Running() {
      fn = nullptr;
      {
        std::lock_guard lock(core.mutex);
        core.runningOn.reset();
      }
      core.finished.notify_all();
    }
  };
  std::function<void()> fn;
  {
    std::lock_guard lock(mutex);
    auto it = pending.find(id);
    if (closed || it == pending.end()) return;
    fn = std::move(it->second);
    pending.erase(it);
    runningOn = std::this_thread::get_id();
  }
  Running running{*this, std::move(fn)};
  running.fn();
}

void SerialQueueCore::close() {
  std::unordered_map<std::uint64_t, std::function<void()>> dropped;
  {
    std::lock_guard lock(mutex);
    closed = true;
    dropped.swap(pending);
  }
  dropped.clear();  // outside the lock: what the work captured may use the queue
  std::unique_lock lock(mutex);
  finished.wait(lock, [this] { return !runningOn || *runningOn == std::this_thread::get_id(); });
}

std::size_t SerialQueueCore::pendingCount() const {
  std::lock_guard lock(mutex);
  return pending.size();
}

}  // namespace turnlet::macos
