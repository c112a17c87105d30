#include "qt/QtMainLoop.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "host/MonotonicClock.h"

namespace turnlet::qt {

QtMainLoop::QtMainLoop()
    : owner(std::this_thread::get_id()), wakeDescriptor(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (wakeDescriptor < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  notifier = std::make_unique<QSocketNotifier>(wakeDescriptor, QSocketNotifier::Read);
  QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(), [this] { drain(); });
  timer = std::make_unique<QTimer>();
  timer->setSingleShot(true);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this] { drain(); });
}

QtMainLoop::~QtMainLoop() {
  dropPendingWork(mutex, work.posted, work.timers);  // may post again: the descriptor is still open
  timer.reset();
  notifier.reset();
  ::close(wakeDescriptor);
}

void QtMainLoop::post(std::function<void()> fn) {
  bool needsWake;
  {
    std::lock_guard lock(mutex);
    work.posted.push_back(std::move(fn));
    needsWake = !std::exchange(wakePending, true);
  }
  if (needsWake) wake();
}

MainLoop::TimerId QtMainLoop::schedule(double delaySeconds, std::function<void()> fn, double) {
  assert(isLoopThread() && "timers are scheduled on the main loop");
  TimerId id;
  {
    std::lock_guard lock(mutex);
    id = work.timers.add(now() + sanitizedDelay(delaySeconds), std::move(fn));
  }
  if (!draining) armTimer();  // a running pass arms the timer when it ends
  return id;
}

void QtMainLoop::cancel(TimerId id) {
  std::optional<std::function<void()>> dropped;  // destroyed after the lock is released
  std::lock_guard lock(mutex);
  dropped = work.timers.remove(id);
}

double QtMainLoop::now() const { return host::monotonicSeconds(); }

bool QtMainLoop::isLoopThread() const { return std::this_thread::get_id() == owner; }

void QtMainLoop::run() {
  assert(isLoopThread() && "the loop runs on the thread that made it");
  {
    std::lock_guard lock(mutex);
    if (std::exchange(stopping, false)) return;
  }
  QEventLoop events;
  running = &events;
  wake();  // work queued while no event loop ran
  events.exec();
  running = nullptr;
  {
    std::lock_guard lock(mutex);
    // Cleared on the way out, not on the way in, so a stop() that races ahead of run() counts.
    stopping = false;
  }
  wake();  // what the stop left runs whenever Qt's loop runs next
}

void QtMainLoop::stop() {
  {
    std::lock_guard lock(mutex);
    stopping = true;
  }
  wake();
}

void QtMainLoop::wake() {
  // Fails only when the counter is full, and then Qt has a wake to read already.
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(wakeDescriptor, &one, sizeof one);
}

void QtMainLoop::drain() {
  std::uint64_t wakes;
  [[maybe_unused]] const auto read = ::read(wakeDescriptor, &wakes, sizeof wakes);
  std::size_t budget;
  {
    std::lock_guard lock(mutex);
    wakePending = false;
    // Work that opened a nested event loop (a modal dialog) is still running: the pass that runs
    // it looks for more work when it ends.
    if (draining) return;
    budget = std::max<std::size_t>(1, work.posted.size() + work.timers.countDue(now()));
  }
  draining = true;
  struct Pass {
    bool& draining;
    ~Pass() { draining = false; }
  } pass{draining};
  for (; budget > 0; --budget) {
    std::function<void()> fn;
    {
      std::lock_guard lock(mutex);
      if (stopping && running) break;
      auto next = work.next(now());
      if (!next) break;
      fn = std::move(*next);
    }
    fn();
  }
  bool more, stop;
  {
    std::lock_guard lock(mutex);
    stop = stopping && running;
    more = !work.posted.empty() || work.timers.countDue(now()) > 0;
    wakePending = wakePending || more;
  }
  if (stop) {
    running->exit();
  } else if (more) {
    wake();  // after Qt's own events: input and painting go between passes
  } else {
    armTimer();
  }
}

void QtMainLoop::armTimer() {
  std::optional<double> due;
  {
    std::lock_guard lock(mutex);
    due = work.timers.nextDue();
  }
  if (!due) {
    timer->stop();
    return;
  }
  // Rounded up, so that the timer never fires before the work is due; far-off and infinite
  // times wake once an hour and arm again.
  const double milliseconds = std::ceil((*due - now()) * 1000);
  timer->start(static_cast<int>(std::clamp(milliseconds, 0.0, 3600e3)));
}

}  // namespace turnlet::qt
