#pragma once

#include <cstdint>
#include <functional>

namespace turnlet {

// The main loop: the one thread on which all of the program's logic runs.
//
// post() may be called from any thread; posted functions run on the loop's thread in FIFO order.
// schedule() and cancel() are called on the loop's thread only (checked in debug builds). Timers
// fire in due-time order, ties in the order they were scheduled. The loop works in passes: each
// runs the posted work queued when it began, then the timers due by then, so a stream of posts
// never keeps a due timer waiting longer than one pass. now() is a monotonic clock in seconds
// (system uptime), readable from any thread.
class MainLoop {
 public:
  using TimerId = std::uint64_t;

  virtual ~MainLoop() = default;

  virtual void post(std::function<void()> fn) = 0;

  // Runs fn once, delaySeconds from now. A NaN or negative delay counts as zero; an infinite
  // delay never fires. tolerance is how late the timer may fire to save power; a real loop may
  // use it, a virtual one ignores it.
  virtual TimerId schedule(double delaySeconds, std::function<void()> fn, double toleranceSeconds = 0) = 0;

  // Stops a pending timer; unknown or already fired ids are ignored.
  virtual void cancel(TimerId id) = 0;

  virtual double now() const = 0;

  // Whether the calling thread is the loop's thread; for debug assertions of thread affinity.
  virtual bool isLoopThread() const = 0;
};

}  // namespace turnlet
