#pragma once

#include <memory>

#include "runtime/RepeatingTimer.h"
#include "session/RotationSession.h"

namespace turnlet {

// The application's monitoring timer: once a second (tolerance 0.2 s), while a virtual display
// exists and the session is not busy, checkConnection() then updatePerformance(). Holds the
// session weakly. Main loop only; invalidate() stops it.
class RotationSessionTimer {
 public:
  static constexpr double intervalSeconds = 1.0;
  static constexpr double toleranceSeconds = 0.2;

  RotationSessionTimer(MainLoop& loop, std::weak_ptr<RotationSession> session)
      : timer(loop, intervalSeconds, toleranceSeconds, [session = std::move(session)] {
          auto self = session.lock();
          if (!self || !self->state().virtualDisplay || self->state().busy) return;
          self->checkConnection();
          self->updatePerformance();
        }) {}

  void invalidate() { timer.invalidate(); }

 private:
  RepeatingTimer timer;
};

}  // namespace turnlet
