#include "macos/system/MainLoopCore.h"

#include <algorithm>
#include <utility>

namespace turnlet::macos {

MainLoopCore::MainLoopCore(std::function<double()> clock) : clock(std::move(clock)) {}

MainLoopCore::~MainLoopCore() { dropPendingWork(mutex, work.posted, work.timers); }

bool MainLoopCore::post(std::function<void()> fn) {
  std::lock_guard lock(mutex);
  work.posted.push_back(std::move(fn));
  return !std::exchange(wakePending, true);
}

MainLoop::TimerId MainLoopCore::schedule(double delaySeconds, std::function<void()> fn, double toleranceSeconds) {
  const double due = clock() + sanitizedDelay(delaySeconds);
  std::lock_guard lock(mutex);
  const MainLoop::TimerId id = work.timers.add(due, std::move(fn));
  slack.add(id, due, toleranceSeconds);
  return id;
}

void MainLoopCore::cancel(MainLoop::TimerId id) {
  std::optional<std::function<void()>> dropped;  // ends after the lock is released
  std::lock_guard lock(mutex);
  dropped = work.timers.remove(id);
  slack.remove(id);
}

MainLoopCore::PassEnd MainLoopCore::runPass() {
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
  } depth(passDepth);

  std::size_t budget;
  {
    std::lock_guard lock(mutex);
    wakePending = false;
    budget = std::max<std::size_t>(1, work.posted.size() + work.timers.countDue(clock()));
  }
  for (; budget > 0; --budget) {
    std::function<void()> fn;
    {
      std::lock_guard lock(mutex);
      if (stopRequested && runDepth > 0) break;
      auto next = work.next(clock());
      if (!next) break;
      fn = std::move(*next);
    }
    fn();
  }
  PassEnd end;
  std::lock_guard lock(mutex);
  const double time = clock();
  end.stop = runDepth > 0 && std::exchange(stopRequested, false);
  end.more = !work.posted.empty() || work.timers.countDue(time) > 0;
  wakePending = wakePending || end.more;
  end.timer = timerArmLocked(time);
  return end;
}

std::optional<MainLoopCore::TimerArm> MainLoopCore::timerArm() {
  std::lock_guard lock(mutex);
  return timerArmLocked(clock());
}

std::optional<MainLoopCore::TimerArm> MainLoopCore::timerArmLocked(double time) {
  auto window = slack.window(work.timers.nextDue());
  if (!window) return std::nullopt;
  return TimerArm{std::max(0.0, window->fireAt - time), window->tolerance};
}

bool MainLoopCore::beginRun() {
  std::lock_guard lock(mutex);
  if (std::exchange(stopRequested, false)) return false;
  ++runDepth;
  return true;
}

void MainLoopCore::endRun() {
  std::lock_guard lock(mutex);
  --runDepth;
  // A stop asked for while the loop was already stopping is spent with it.
  stopRequested = false;
}

bool MainLoopCore::requestStop() {
  std::lock_guard lock(mutex);
  stopRequested = true;
  return !std::exchange(wakePending, true);
}

std::size_t MainLoopCore::pendingPostCount() const {
  std::lock_guard lock(mutex);
  return work.posted.size();
}

std::size_t MainLoopCore::pendingTimerCount() const {
  std::lock_guard lock(mutex);
  return work.timers.size();
}

}  // namespace turnlet::macos
