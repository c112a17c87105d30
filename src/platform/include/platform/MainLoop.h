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
// never keeps a due timer waiting longer than one pass.
//
// Posts and timers run in every mode the application's event loop runs in (on a Mac: the run
// loop's common modes, which hold the default, event-tracking and modal-panel modes): while a
// menu is open (event tracking) and while a terminate-later reply is pending (the application
// then runs its loop in the modal-panel mode). Work registered in the default mode only would
// hang Quit, whose shutdown runs as loop work, and freeze rendering while a menu is open.
//
// now() is seconds of system uptime, not counting sleep: the clock of event timestamps (on a Mac
// the system uptime, not a continuous clock). Readable from any thread.
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
