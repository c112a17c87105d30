#pragma once

#include "platform/WindowFrame.h"

namespace turnlet {

// The dimming window over the iPad display, as the brightness follower drives it.
class BrightnessShade {
 public:
  virtual ~BrightnessShade() = default;
  // Covers frame and heads for opacity (0 clear to 1 black).
  virtual void show(WindowFrame frame, double opacity) = 0;
  // Takes the shade off the screen for good.
  virtual void close() = 0;
};

}  // namespace turnlet
