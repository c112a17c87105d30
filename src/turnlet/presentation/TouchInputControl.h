#pragma once

#include <functional>
#include <optional>

#include "runtime/Task.h"

namespace turnlet {

// What the presentation window and the rotation session do with the iPad's touch input: stop it,
// wait for the window moves it started, and learn when it loses the permission to post events.
// The touch input implements it; tests use a double. Main loop only.
class TouchInputControl {
 public:
  virtual ~TouchInputControl() = default;

  // Ends recognition; window moves already started may go on until they come to rest.
  virtual void stop() = 0;
  // Left behind by stop(): ends when the window moves this input started have come to rest.
  virtual std::optional<TaskHandle> motionStopTask() const = 0;
  // Called on the main loop when posting events is no longer allowed; set by the session.
  virtual void setOnAccessLost(std::function<void()> callback) = 0;
};

}  // namespace turnlet
