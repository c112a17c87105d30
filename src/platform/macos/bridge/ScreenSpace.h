#pragma once

#import <CoreGraphics/CoreGraphics.h>

#include "platform/Geometry.h"
#include "platform/WindowFrame.h"

namespace turnlet::macos {

// The platform's rectangles as the interface's types, and the flip between the two spaces
// (CoordinateFlip) against the height of the main display, the one at the origin of both.
double mainDisplayHeight();

inline Rect rectFromCG(CGRect r) { return Rect(r.origin.x, r.origin.y, r.size.width, r.size.height); }
inline CGRect cgRectFrom(const Rect& r) { return CGRectMake(r.origin.x, r.origin.y, r.size.width, r.size.height); }
// An AppKit frame (NSRect is CGRect) in the bottom-left-origin space.
inline WindowFrame windowFrameFromNS(CGRect r) { return {r.origin.x, r.origin.y, r.size.width, r.size.height}; }
inline CGRect nsRectFrom(const WindowFrame& f) { return CGRectMake(f.x, f.y, f.width, f.height); }

WindowFrame windowFrameFromGlobal(const Rect& global);
Rect globalFromWindowFrame(const WindowFrame& frame);

}  // namespace turnlet::macos
