#pragma once

#include "platform/DisplayServices.h"
#include "platform/Geometry.h"

namespace turnlet {

// A rectangle in the window system's global space: points, origin at the bottom-left corner of
// the main display, y growing upward. Window frames and screen frames live here; display bounds
// (Rect, top-left origin, y down) do not, so the two are kept apart by type.
struct WindowFrame {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  // The screen list reports its frames in this space already.
  static WindowFrame ofScreen(const ScreenInfo& screen) {
    const Rect& f = screen.frame;
    return {f.origin.x, f.origin.y, f.size.width, f.size.height};
  }

  // Compared as the platform compares rectangles: standardised, NaN never equal.
  friend bool operator==(const WindowFrame& a, const WindowFrame& b) {
    return Rect(a.x, a.y, a.width, a.height) == Rect(b.x, b.y, b.width, b.height);
  }
};

}  // namespace turnlet
