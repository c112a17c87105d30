#pragma once

// A retry scheduler: on request it runs an attempt after each of a fixed list of delays until an
// attempt reports that it is done, the list runs out, or it is cancelled.
//
// Idle → request() → running → (attempt true | last attempt false | sleep throws | cancel()) → idle.
// Its own generation counter makes a cancelled or replaced run unable to disturb a newer one. A
// run holds the scheduler strongly while it runs; the task that starts it holds it weakly. Main
// loop only.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/MainLoop.h"
#include "runtime/Task.h"

namespace turnlet {

class RotationRecovery : public std::enable_shared_from_this<RotationRecovery> {
 public:
  using SleepFunction = std::function<Task<void>(double seconds)>;
  using AttemptFunction = std::function<Task<bool>()>;

  // Keeps only the delays that are finite and not negative, in order. sleep defaults to a wait on
  // the loop's monotonic clock that throws when the task is cancelled.
  static std::shared_ptr<RotationRecovery> make(MainLoop& loop, std::vector<double> delays, AttemptFunction attempt,
                                                SleepFunction sleep = defaultSleep);

  static Task<void> defaultSleep(double seconds);

  // Starts a run unless one is running or there are no delays.
  void request();
  // Stops the current run, if any; always bumps the generation.
  void cancel();

  const std::vector<double>& delays() const { return delayList; }
  std::uint64_t generation() const { return generationNumber; }
  // Attempts started so far, by every run.
  std::uint64_t attemptCount() const { return attempts; }
  // A run whose task was destroyed (its attempt could never complete) counts as ended.
  bool isRunning() const { return task && !task.isDone(); }

 private:
  struct Key {};

 public:
  RotationRecovery(Key, MainLoop& loop, std::vector<double> delays, AttemptFunction attempt, SleepFunction sleep);

 private:
  static Task<void> start(std::weak_ptr<RotationRecovery> weak, std::uint64_t generation);
  Task<void> run(std::uint64_t generation);

  MainLoop& loop;
  std::vector<double> delayList;
  SleepFunction sleep;
  AttemptFunction attempt;
  std::uint64_t generationNumber = 0;
  std::uint64_t attempts = 0;
  TaskHandle task;
};

}  // namespace turnlet
