#pragma once

#include <stddef.h>
#include <stdint.h>

#include <CoreGraphics/CGError.h>
#include <CoreGraphics/CGGeometry.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGDirectDisplayID /documentation/CoreGraphics/CGDirectDisplayID macOS 10.0
typedef uint32_t CGDirectDisplayID;

// @doc boolean_t /documentation/Kernel/boolean_t macOS 10.0
typedef int boolean_t;
// @doc CGDisplayModeRef /documentation/CoreGraphics/CGDisplayMode macOS 10.6
typedef struct __attribute__((objc_bridge(id))) CGDisplayMode* CGDisplayModeRef;

#pragma clang assume_nonnull begin

// @doc CGGetOnlineDisplayList /documentation/CoreGraphics/CGGetOnlineDisplayList(_:_:_:) macOS 10.0
CGError CGGetOnlineDisplayList(uint32_t maxDisplays, CGDirectDisplayID* _Nullable onlineDisplays,
                               uint32_t* _Nullable displayCount);
// @doc CGDisplayVendorNumber /documentation/CoreGraphics/CGDisplayVendorNumber(_:) macOS 10.2
uint32_t CGDisplayVendorNumber(CGDirectDisplayID display);
// @doc CGDisplayIsBuiltin /documentation/CoreGraphics/CGDisplayIsBuiltin(_:) macOS 10.2
boolean_t CGDisplayIsBuiltin(CGDirectDisplayID display);
// @doc CGDisplayIsInMirrorSet /documentation/CoreGraphics/CGDisplayIsInMirrorSet(_:) macOS 10.2
boolean_t CGDisplayIsInMirrorSet(CGDirectDisplayID display);
// @doc CGDisplayIsOnline /documentation/CoreGraphics/CGDisplayIsOnline(_:) macOS 10.2
boolean_t CGDisplayIsOnline(CGDirectDisplayID display);
// @doc CGDisplayCopyDisplayMode /documentation/CoreGraphics/CGDisplayCopyDisplayMode(_:) macOS 10.6
CGDisplayModeRef _Nullable CGDisplayCopyDisplayMode(CGDirectDisplayID display) __attribute__((cf_returns_retained));
// @doc CGDisplayModeGetPixelWidth /documentation/CoreGraphics/CGDisplayMode/pixelWidth macOS 10.8
size_t CGDisplayModeGetPixelWidth(CGDisplayModeRef _Nullable mode);
// @doc CGDisplayModeGetPixelHeight /documentation/CoreGraphics/CGDisplayMode/pixelHeight macOS 10.8
size_t CGDisplayModeGetPixelHeight(CGDisplayModeRef _Nullable mode);

#pragma clang assume_nonnull end

// @doc CGMainDisplayID /documentation/CoreGraphics/CGMainDisplayID() macOS 10.0
CGDirectDisplayID CGMainDisplayID(void);
// @doc CGDisplayBounds /documentation/CoreGraphics/CGDisplayBounds(_:) macOS 10.0
CGRect CGDisplayBounds(CGDirectDisplayID display);

#ifdef __cplusplus
}
#endif
