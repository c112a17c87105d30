#pragma once

#include "platform/Geometry.h"
#include "platform/WindowFrame.h"

namespace turnlet::macos {

// CoreGraphics global space (Rect, Point: origin at the top-left corner of the main display, y
// down) and AppKit's screen space (WindowFrame, and the mouse location: origin at the bottom-left
// corner of the same display, y up) differ by a flip against the height of that display, the one
// at the origin of both spaces. Sizes are kept; a rectangle with a negative size is read in its
// standardised form. Each function is its own inverse for the same height.

WindowFrame windowFrameFromGlobal(const Rect& global, double mainDisplayHeight);
Rect globalFromWindowFrame(const WindowFrame& frame, double mainDisplayHeight);
Point flippedPoint(Point point, double mainDisplayHeight);

}  // namespace turnlet::macos
