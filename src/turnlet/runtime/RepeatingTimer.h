#pragma once

#include <functional>
#include <memory>

#include "platform/MainLoop.h"

namespace turnlet {

// A timer on the main loop that fires every interval seconds until invalidated, like a run-loop
// timer: fire times stay on the grid start + k × interval, and fires missed while the loop was
// busy are skipped, not queued. The callback may invalidate or destroy the timer. Main loop only.
class RepeatingTimer {
 public:
  RepeatingTimer(MainLoop& loop, double intervalSeconds, double toleranceSeconds, std::function<void()> fire);
  ~RepeatingTimer();
  RepeatingTimer(const RepeatingTimer&) = delete;
  RepeatingTimer& operator=(const RepeatingTimer&) = delete;

  void invalidate();
  bool isValid() const;

 private:
  struct State;
  std::shared_ptr<State> state;
};

}  // namespace turnlet
