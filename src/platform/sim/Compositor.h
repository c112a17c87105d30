#pragma once

#include <memory>

#include "platform/DisplayServices.h"
#include "sim/DisplayServer.h"
#include "sim/MemoryPixelBuffer.h"
#include "sim/WindowServer.h"

namespace turnlet::sim {

// The picture of the simulated desktop: any online display's region, drawn from the window
// server. Main loop only.
class Compositor {
 public:
  Compositor(DisplayServer& displays, WindowServer& windows) : displays(displays), windows(windows) {}

  // The picture of one online display at its current mode's pixel size, BGRA; null when the
  // display is offline or has no size.
  std::shared_ptr<MemoryPixelBuffer> draw(DisplayID display);
  // The same into a buffer of that size; false (and the buffer untouched) when it does not fit.
  bool drawInto(DisplayID display, MemoryPixelBuffer& target);

  // Control: when on, the desktop background changes with every picture drawn.
  bool animateBackground = false;

 private:
  DisplayServer& displays;
  WindowServer& windows;
  std::uint32_t pictures = 0;
};

}  // namespace turnlet::sim
