#pragma once

#include <stdint.h>

#include <CoreFoundation/CoreFoundation.h>

#ifdef __cplusplus
extern "C" {
#endif

// Shown with an implicitly unwrapped result in the reference: no nullability here.
// @doc CGDisplayCreateUUIDFromDisplayID /documentation/ColorSync/CGDisplayCreateUUIDFromDisplayID(_:) macOS 10.4
CFUUIDRef CGDisplayCreateUUIDFromDisplayID(uint32_t displayID) __attribute__((cf_returns_retained));

#ifdef __cplusplus
}
#endif
