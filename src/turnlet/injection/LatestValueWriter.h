#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/MainLoop.h"
#include "platform/SerialQueue.h"
#include "runtime/Continuation.h"
#include "runtime/Task.h"

namespace turnlet {

// Writes the newest of a stream of values on its own serial queue, at most maxWritesPerSecond
// times a second: values submitted while a write is queued or running replace each other, so
// only the newest is written next. The lock guards the state and is never held while a value is
// written, so a slow write never blocks the submitter.
//
// idle → scheduled → in flight → idle or scheduled again; finish() writes what is pending and
// then stops; cancel() stops at once (a write in flight completes). Stopped is final.
//
// Made on the main loop and shared; submit, finish and cancel from any thread. A queued write
// keeps the writer alive until it has run, so a writer dropped by its owner still writes the
// value it was finishing with.
template <class T>
class LatestValueWriter : public std::enable_shared_from_this<LatestValueWriter<T>> {
  struct Passkey {};

 public:
  using Write = std::function<void(const T&)>;

  // clock: the main loop, whose clock any thread may read.
  static std::shared_ptr<LatestValueWriter> make(QueueFactory& queues, const MainLoop& clock,
                                                 double maxWritesPerSecond, std::string label, Write write) {
    return std::make_shared<LatestValueWriter>(Passkey{}, queues, clock, maxWritesPerSecond, std::move(label),
                                               std::move(write));
  }
  LatestValueWriter(Passkey, QueueFactory& queues, const MainLoop& clock, double maxWritesPerSecond,
                    std::string label, Write write)
      : queue(queues.makeSerialQueue(std::move(label), QualityOfService::userInteractive)),
        clock(clock),
        minimumInterval(maxWritesPerSecond > 0 ? 1 / maxWritesPerSecond : 0),
        writeValue(std::move(write)) {}

  void submit(T value) {
    std::lock_guard guard(lock);
    if (finishing || stopped) return;
    pending = std::move(value);
    scheduleIfNeededLocked();
  }

  void finish() {
    std::lock_guard guard(lock);
    if (stopped) return;
    finishing = true;
    if (!pending && !inFlight && !scheduled) {
      stopped = true;
    } else {
      scheduleIfNeededLocked();
    }
  }

  void cancel() {
    std::lock_guard guard(lock);
    stopped = true;
    pending.reset();
    scheduled = false;
    finishing = true;
  }

  // Cancels, then ends once a write in flight has ended. Main loop.
  Task<void> cancelAndWait() {
    cancel();
    // The writer, and so its queue, stays alive in this frame; the lambda only borrows the queue
    // (a temporary that owns something inside a co_await expression is destroyed twice by g++ 12).
    const auto self = this->shared_from_this();
    SerialQueue* serial = queue.get();
    co_await withContinuation<void>([serial](Continuation<void> done) { serial->async([done] { done.resume(); }); });
  }

  // Nothing pending, in flight or scheduled.
  bool isIdle() const {
    std::lock_guard guard(lock);
    return !pending && !inFlight && !scheduled;
  }
  bool isStopped() const {
    std::lock_guard guard(lock);
    return stopped;
  }

 private:
  void scheduleIfNeededLocked() {
    if (stopped || inFlight || scheduled || !pending) return;
    scheduled = true;
    double delay = 0;
    if (lastStart) delay = std::max(0.0, minimumInterval - (clock.now() - *lastStart));
    // The step holds the writer: a last value is written even when its owner let go meanwhile.
    auto step = [self = this->shared_from_this()] { self->writeStep(); };
    if (delay > 0) {
      queue->asyncAfter(delay, std::move(step));
    } else {
      queue->async(std::move(step));
    }
  }

  void writeStep() {
    std::unique_lock guard(lock);
    scheduled = false;
    if (!stopped && pending && !inFlight) {
      T value = std::move(*pending);
      pending.reset();
      inFlight = true;
      lastStart = clock.now();
      guard.unlock();
      writeValue(value);
      guard.lock();
      inFlight = false;
      if (!finishing || pending) {
        scheduleIfNeededLocked();
      } else {
        stopped = true;
      }
    } else if (finishing && !pending && !inFlight) {
      stopped = true;
    }
  }

  mutable std::mutex lock;
  std::unique_ptr<SerialQueue> queue;
  const MainLoop& clock;
  const double minimumInterval;
  const Write writeValue;
  std::optional<T> pending;  // hasPending is pending.has_value()
  bool inFlight = false;
  bool scheduled = false;
  bool finishing = false;
  bool stopped = false;
  std::optional<double> lastStart;
};

}  // namespace turnlet
