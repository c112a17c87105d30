#pragma once

#include <stdint.h>

#include <CoreGraphics/CGDirectDisplay.h>
#include <CoreGraphics/CGError.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma clang assume_nonnull begin

// @doc CGDisplayConfigRef /documentation/CoreGraphics/CGDisplayConfigRef macOS 10.0
typedef struct _CGDisplayConfigRef* CGDisplayConfigRef;
// @doc CGConfigureOption /documentation/CoreGraphics/CGConfigureOption macOS 10.0
typedef uint32_t CGConfigureOption;

// @doc CGBeginDisplayConfiguration /documentation/CoreGraphics/CGBeginDisplayConfiguration(_:) macOS 10.0
CGError CGBeginDisplayConfiguration(CGDisplayConfigRef _Nullable* _Nullable config);
// @doc CGConfigureDisplayOrigin /documentation/CoreGraphics/CGConfigureDisplayOrigin(_:_:_:_:) macOS 10.0
CGError CGConfigureDisplayOrigin(CGDisplayConfigRef _Nullable config, CGDirectDisplayID display, int32_t x, int32_t y);
// @doc CGCompleteDisplayConfiguration /documentation/CoreGraphics/CGCompleteDisplayConfiguration(_:_:) macOS 10.0
CGError CGCompleteDisplayConfiguration(CGDisplayConfigRef _Nullable config, CGConfigureOption option);
// @doc CGCancelDisplayConfiguration /documentation/CoreGraphics/CGCancelDisplayConfiguration(_:) macOS 10.0
CGError CGCancelDisplayConfiguration(CGDisplayConfigRef _Nullable config);

#pragma clang assume_nonnull end

#ifdef __cplusplus
}
#endif
