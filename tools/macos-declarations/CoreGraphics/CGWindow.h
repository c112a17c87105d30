#pragma once

#include <CoreFoundation/CFArray.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGWindowID /documentation/CoreGraphics/CGWindowID macOS 10.5
typedef uint32_t CGWindowID;
// @doc CGWindowListOption /documentation/CoreGraphics/CGWindowListOption macOS 10.5
typedef uint32_t CGWindowListOption;

// @doc CGWindowListCopyWindowInfo /documentation/CoreGraphics/CGWindowListCopyWindowInfo(_:_:) macOS 10.5
CFArrayRef _Nullable CGWindowListCopyWindowInfo(CGWindowListOption option, CGWindowID relativeToWindow)
    __attribute__((cf_returns_retained));
// @doc CGPreflightScreenCaptureAccess /documentation/CoreGraphics/CGPreflightScreenCaptureAccess() macOS 10.15
bool CGPreflightScreenCaptureAccess(void);
// @doc CGRequestScreenCaptureAccess /documentation/CoreGraphics/CGRequestScreenCaptureAccess() macOS 10.15
bool CGRequestScreenCaptureAccess(void);

#ifdef __cplusplus
}
#endif
