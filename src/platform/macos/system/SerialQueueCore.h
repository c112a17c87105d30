#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

namespace turnlet::macos {

// What a serial queue's submitted blocks share with the queue object. The platform queue keeps
// the order and the thread; the work itself stays here, so that destroying the queue object can
// drop what has not started (a dispatched block cannot be taken back) and wait for what runs.
// Each block carries only the number add() gave it and the core, which outlives the queue object.
class SerialQueueCore final {
 public:
  // Any thread. Keeps fn and returns its number for the block to run, or nothing once the queue
  // is closed (fn is dropped before this returns).
  std::optional<std::uint64_t> add(std::function<void()> fn);

  // On the queue: runs the work numbered id, unless it was dropped.
  void run(std::uint64_t id);

  // The queue object's destructor: drops the work that has not started, then waits for the one
  // running, unless it is called from that work (the work dropped the last owner of the queue).
  void close();

  std::size_t pendingCount() const;

 private:
  mutable std::mutex mutex;
  std::condition_variable finished;
  std::unordered_map<std::uint64_t, std::function<void()>> pending;
  std::uint64_t nextId = 1;
  bool closed = false;
  std::optional<std::thread::id> runningOn;
};

}  // namespace turnlet::macos
