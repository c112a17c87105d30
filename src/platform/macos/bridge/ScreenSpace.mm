#import "macos/bridge/ScreenSpace.h"

#include "macos/bridge/CoordinateFlip.h"

namespace turnlet::macos {

double mainDisplayHeight() {
  // The main display is the one at the origin of the global space; its screen is the first.
  return CGDisplayBounds(CGMainDisplayID()).size.height;
}

WindowFrame windowFrameFromGlobal(const Rect& global) { return windowFrameFromGlobal(global, mainDisplayHeight()); }

Rect globalFromWindowFrame(const WindowFrame& frame) { return globalFromWindowFrame(frame, mainDisplayHeight()); }

}  // namespace turnlet::macos
