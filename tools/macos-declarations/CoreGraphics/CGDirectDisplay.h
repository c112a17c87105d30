#pragma once

#include <stddef.h>
#include <stdint.h>

#include <CoreGraphics/CGError.h>
#include <CoreGraphics/CGGeometry.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGDirectDisplayID /documentation/CoreGraphics/CGDirectDisplayID
typedef uint32_t CGDirectDisplayID;

// @doc boolean_t /documentation/Kernel/boolean_t
typedef int boolean_t;
// @doc CGDisplayModeRef /documentation/CoreGraphics/CGDisplayMode
typedef struct __attribute__((objc_bridge(id))) CGDisplayMode* CGDisplayModeRef;

#pragma clang assume_nonnull begin

// @doc CGGetOnlineDisplayList /documentation/CoreGraphics/CGGetOnlineDisplayList(_:_:_:)
CGError CGGetOnlineDisplayList(uint32_t maxDisplays, CGDirectDisplayID* _Nullable onlineDisplays,
                               uint32_t* _Nullable displayCount);
// @doc CGDisplayVendorNumber /documentation/CoreGraphics/CGDisplayVendorNumber(_:)
uint32_t CGDisplayVendorNumber(CGDirectDisplayID display);
// @doc CGDisplayIsBuiltin /documentation/CoreGraphics/CGDisplayIsBuiltin(_:)
boolean_t CGDisplayIsBuiltin(CGDirectDisplayID display);
// @doc CGDisplayIsAsleep /documentation/CoreGraphics/CGDisplayIsAsleep(_:)
boolean_t CGDisplayIsAsleep(CGDirectDisplayID display);
// @doc CGDisplayIsInMirrorSet /documentation/CoreGraphics/CGDisplayIsInMirrorSet(_:)
boolean_t CGDisplayIsInMirrorSet(CGDirectDisplayID display);
// @doc CGDisplayIsOnline /documentation/CoreGraphics/CGDisplayIsOnline(_:)
boolean_t CGDisplayIsOnline(CGDirectDisplayID display);
// @doc CGDisplayCopyDisplayMode /documentation/CoreGraphics/CGDisplayCopyDisplayMode(_:)
CGDisplayModeRef _Nullable CGDisplayCopyDisplayMode(CGDirectDisplayID display) __attribute__((cf_returns_retained));
// @doc CGDisplayModeGetPixelWidth /documentation/CoreGraphics/CGDisplayMode/pixelWidth
size_t CGDisplayModeGetPixelWidth(CGDisplayModeRef _Nullable mode);
// @doc CGDisplayModeGetPixelHeight /documentation/CoreGraphics/CGDisplayMode/pixelHeight
size_t CGDisplayModeGetPixelHeight(CGDisplayModeRef _Nullable mode);

#pragma clang assume_nonnull end

// @doc CGMainDisplayID /documentation/CoreGraphics/CGMainDisplayID()
CGDirectDisplayID CGMainDisplayID(void);
// @doc CGDisplayBounds /documentation/CoreGraphics/CGDisplayBounds(_:)
CGRect CGDisplayBounds(CGDirectDisplayID display);

#ifdef __cplusplus
}
#endif
