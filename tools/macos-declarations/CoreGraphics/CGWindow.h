#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGPreflightScreenCaptureAccess /documentation/CoreGraphics/CGPreflightScreenCaptureAccess()
bool CGPreflightScreenCaptureAccess(void);
// @doc CGRequestScreenCaptureAccess /documentation/CoreGraphics/CGRequestScreenCaptureAccess()
bool CGRequestScreenCaptureAccess(void);

#ifdef __cplusplus
}
#endif
