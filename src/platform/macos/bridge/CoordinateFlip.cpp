#include "macos/bridge/CoordinateFlip.h"

namespace turnlet::macos {

WindowFrame windowFrameFromGlobal(const Rect& global, double mainDisplayHeight) {
  return {global.minX(), mainDisplayHeight - global.maxY(), global.width(), global.height()};
}

Rect globalFromWindowFrame(const WindowFrame& frame, double mainDisplayHeight) {
  const Rect bottomUp(frame.x, frame.y, frame.width, frame.height);
  return Rect(bottomUp.minX(), mainDisplayHeight - bottomUp.maxY(), bottomUp.width(), bottomUp.height());
}

Point flippedPoint(Point point, double mainDisplayHeight) { return {point.x, mainDisplayHeight - point.y}; }

}  // namespace turnlet::macos
