#include "runtime/RepeatingTimer.h"

#include <cmath>

namespace turnlet {

struct RepeatingTimer::State : std::enable_shared_from_this<State> {
  MainLoop& loop;
  double interval;
  double tolerance;
  std::function<void()> fire;
  MainLoop::TimerId pending = 0;
  double nextDue = 0;
  bool valid = true;

  State(MainLoop& l, double i, double t, std::function<void()> f)
      : loop(l), interval(i), tolerance(t), fire(std::move(f)) {}

  void arm() {
    pending = loop.schedule(nextDue - loop.now(), [weak = weak_from_this()] {
      if (auto self = weak.lock()) self->fired();
    }, tolerance);
  }

  void fired() {
    if (!valid) return;
    const double now = loop.now();
    nextDue += interval;
    if (nextDue <= now) nextDue += std::ceil((now - nextDue) / interval + 1e-9) * interval;
    if (nextDue <= now) nextDue = now + interval;
    arm();
    auto keepAlive = shared_from_this();
    auto callback = fire;  // the callback may destroy the timer and this state's function with it
    callback();
  }
};

RepeatingTimer::RepeatingTimer(MainLoop& loop, double intervalSeconds, double toleranceSeconds,
                               std::function<void()> fire) {
  // A non-positive or non-finite interval would spin; run-loop timers use a tiny minimum instead.
  if (!(intervalSeconds > 0) || !std::isfinite(intervalSeconds)) intervalSeconds = 0.0001;
  if (!(toleranceSeconds >= 0) || !std::isfinite(toleranceSeconds)) toleranceSeconds = 0;
  state = std::make_shared<State>(loop, intervalSeconds, toleranceSeconds, std::move(fire));
  state->nextDue = loop.now() + intervalSeconds;
  state->arm();
}

RepeatingTimer::~RepeatingTimer() { invalidate(); }

void RepeatingTimer::invalidate() {
  if (!state || !state->valid) return;
  state->valid = false;
  state->loop.cancel(state->pending);
}

bool RepeatingTimer::isValid() const { return state && state->valid; }

}  // namespace turnlet
