#pragma once

#include <optional>

#include "platform/WindowFrame.h"

namespace turnlet::macos {

// Window values as AppKit takes them. Frames are already in AppKit's space (bottom-left origin,
// WindowFrame); what a display's bounds become there is CoordinateFlip's windowFrameFromGlobal.

// A frame for setFrame:display: or initWithContentRect:: standardised (a negative width or
// height moves the origin by it and is made positive), absent when any value is not finite, so
// that the window keeps the frame it had.
std::optional<WindowFrame> platformWindowFrame(const WindowFrame& frame);

// An alpha value for setAlphaValue: or an animator: clamped to 0 to 1; absent for NaN, which
// leaves the window's alpha as it is.
std::optional<double> platformAlpha(double alpha);

}  // namespace turnlet::macos
