#pragma once

#include <CoreGraphics/CGGeometry.h>

// @doc NSRect /documentation/Foundation/NSRect
typedef CGRect NSRect;
