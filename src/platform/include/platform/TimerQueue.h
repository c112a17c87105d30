#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>

namespace turnlet {

// Pending one-shot timers ordered by due time, ties in scheduling order. The bookkeeping shared
// by the loop implementations; not thread-safe on its own.
class TimerQueue {
 public:
  std::uint64_t add(double due, std::function<void()> fn);
  // Removes a timer and hands back its function, so the caller can drop it outside its lock.
  std::optional<std::function<void()>> remove(std::uint64_t id);
  std::optional<double> nextDue() const;
  // Removes and returns the earliest timer if it is due at or before time. A timer due at an
  // infinite time never falls due.
  std::optional<std::function<void()>> popDue(double time);
  // How many timers are due at or before time.
  std::size_t countDue(double time) const;
  std::size_t size() const { return timers.size(); }

 private:
  using Key = std::pair<double, std::uint64_t>;
  std::map<Key, std::function<void()>> timers;
  std::unordered_map<std::uint64_t, double> dueById;
  std::uint64_t nextId = 1;
};

// What a main loop has to run, in the order both loops run it: each pass runs the posts that were
// queued when it began, then the timers that are due once those have run. So neither a stream of
// posts (a task resuming itself through post()) nor a timer that re-arms itself at once can keep
// the other waiting. Not thread-safe on its own.
class LoopWork {
 public:
  std::deque<std::function<void()>> posted;
  TimerQueue timers;

  // The next function to run at time now, or nothing when nothing is due.
  std::optional<std::function<void()>> next(double now);

 private:
  std::size_t postsLeft = 0;
  std::size_t timersLeft = 0;
  bool inTimerTurn = true;  // true between passes: the next call begins a pass
  double timersDueBy = 0;
};

// Drops a loop's or a queue's pending work and timers outside its lock, until nothing is left: destroying
// what they captured (a suspended task, say) may post or schedule again.
void dropPendingWork(std::mutex& mutex, std::deque<std::function<void()>>& posted, TimerQueue& timers);

// Normalises a delay as MainLoop::schedule documents it: NaN and negative become zero.
double sanitizedDelay(double seconds);

}  // namespace turnlet
