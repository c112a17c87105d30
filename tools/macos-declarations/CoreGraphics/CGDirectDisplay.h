#pragma once

#include <stdint.h>

#include <CoreGraphics/CGGeometry.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGDirectDisplayID /documentation/CoreGraphics/CGDirectDisplayID
typedef uint32_t CGDirectDisplayID;

// @doc CGMainDisplayID /documentation/CoreGraphics/CGMainDisplayID()
CGDirectDisplayID CGMainDisplayID(void);
// @doc CGDisplayBounds /documentation/CoreGraphics/CGDisplayBounds(_:)
CGRect CGDisplayBounds(CGDirectDisplayID display);

#ifdef __cplusplus
}
#endif
