#pragma once

#include <CoreFoundation/CFArray.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGWindowID /documentation/CoreGraphics/CGWindowID
typedef uint32_t CGWindowID;
// @doc CGWindowListOption /documentation/CoreGraphics/CGWindowListOption
typedef uint32_t CGWindowListOption;

// @doc CGWindowListCopyWindowInfo /documentation/CoreGraphics/CGWindowListCopyWindowInfo(_:_:)
CFArrayRef _Nullable CGWindowListCopyWindowInfo(CGWindowListOption option, CGWindowID relativeToWindow)
    __attribute__((cf_returns_retained));
// @doc CGPreflightScreenCaptureAccess /documentation/CoreGraphics/CGPreflightScreenCaptureAccess()
bool CGPreflightScreenCaptureAccess(void);
// @doc CGRequestScreenCaptureAccess /documentation/CoreGraphics/CGRequestScreenCaptureAccess()
bool CGRequestScreenCaptureAccess(void);

#ifdef __cplusplus
}
#endif
