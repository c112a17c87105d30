#include "session/RotationRecovery.h"

#include <cmath>

namespace turnlet {

std::shared_ptr<RotationRecovery> RotationRecovery::make(MainLoop& loop, std::vector<double> delays,
                                                         AttemptFunction attempt, SleepFunction sleep) {
  return std::make_shared<RotationRecovery>(Key{}, loop, std::move(delays), std::move(attempt), std::move(sleep));
}

RotationRecovery::RotationRecovery(Key, MainLoop& loop, std::vector<double> delays, AttemptFunction attempt,
                                   SleepFunction sleep)
    : loop(loop), sleep(std::move(sleep)), attempt(std::move(attempt)) {
  for (double d : delays)
    if (std::isfinite(d) && d >= 0) delayList.push_back(d);
}

Task<void> RotationRecovery::defaultSleep(double seconds) { co_await turnlet::sleep(seconds); }

void RotationRecovery::request() {
  if (isRunning() || delayList.empty()) return;
  const std::uint64_t g = ++generationNumber;
  task = spawn(loop, start(weak_from_this(), g));
}

void RotationRecovery::cancel() {
  ++generationNumber;
  task.cancel();
  task = TaskHandle();
}

Task<void> RotationRecovery::start(std::weak_ptr<RotationRecovery> weak, std::uint64_t generation) {
  if (auto self = weak.lock()) co_await self->run(generation);
}

Task<void> RotationRecovery::run(std::uint64_t g) {
  for (double delay : delayList) {
    if (generationNumber != g || co_await isCancelled()) break;
    bool slept = true;
    try {
      co_await sleep(delay);
    } catch (...) {
      slept = false;
    }
    if (!slept || generationNumber != g || co_await isCancelled()) break;
    bool done = false;
    ++attempts;
    try {
      done = co_await attempt();
    } catch (...) {
      // An attempt that throws has not restored anything; the next delay tries again.
    }
    if (done) break;
  }
  if (generationNumber == g) task = TaskHandle();
}

}  // namespace turnlet
