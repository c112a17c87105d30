#include "platform/TimerQueue.h"

#include <cmath>

namespace turnlet {

std::uint64_t TimerQueue::add(double due, std::function<void()> fn) {
  const std::uint64_t id = nextId++;
  timers.emplace(Key{due, id}, std::move(fn));
  dueById.emplace(id, due);
  return id;
}

std::optional<std::function<void()>> TimerQueue::remove(std::uint64_t id) {
  auto it = dueById.find(id);
  if (it == dueById.end()) return std::nullopt;
  auto node = timers.extract(Key{it->second, id});
  dueById.erase(it);
  return std::move(node.mapped());
}

std::optional<double> TimerQueue::nextDue() const {
  if (timers.empty()) return std::nullopt;
  return timers.begin()->first.first;
}

std::optional<std::function<void()>> TimerQueue::popDue(double time) {
  if (timers.empty()) return std::nullopt;
  const double due = timers.begin()->first.first;
  if (due > time || !std::isfinite(due)) return std::nullopt;
  auto node = timers.extract(timers.begin());
  dueById.erase(node.key().second);
  return std::move(node.mapped());
}

std::size_t TimerQueue::countDue(double time) const {
  std::size_t count = 0;
  for (auto it = timers.begin(); it != timers.end() && it->first.first <= time && std::isfinite(it->first.first); ++it)
    ++count;
  return count;
}

std::optional<std::function<void()>> LoopWork::next(double now) {
  for (;;) {
    if (postsLeft > 0) {
      --postsLeft;
      auto fn = std::move(posted.front());
      posted.pop_front();
      return fn;
    }
    if (!inTimerTurn) {  // the pass's posts have run: now the timers due by now
      inTimerTurn = true;
      timersDueBy = now;
      timersLeft = timers.countDue(now);
    }
    while (timersLeft > 0) {
      --timersLeft;
      if (auto fn = timers.popDue(timersDueBy)) return fn;  // fewer when some were cancelled
    }
    // The pass is over; the next begins with the posts queued by now.
    if (posted.empty() && timers.countDue(now) == 0) return std::nullopt;
    inTimerTurn = false;
    postsLeft = posted.size();
  }
}

void dropPendingWork(std::mutex& mutex, std::deque<std::function<void()>>& posted, TimerQueue& timers) {
  for (;;) {
    std::deque<std::function<void()>> dropPosted;
    TimerQueue dropTimers;
    {
      std::lock_guard lock(mutex);
      if (posted.empty() && timers.size() == 0) return;
      dropPosted.swap(posted);
      std::swap(dropTimers, timers);
    }
  }
}

double sanitizedDelay(double seconds) { return std::isnan(seconds) || seconds < 0 ? 0 : seconds; }

}  // namespace turnlet
