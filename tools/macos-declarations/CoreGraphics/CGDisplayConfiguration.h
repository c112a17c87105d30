#pragma once

#include <stdint.h>

#include <CoreGraphics/CGDirectDisplay.h>
#include <CoreGraphics/CGError.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma clang assume_nonnull begin

// @doc CGDisplayConfigRef /documentation/CoreGraphics/CGDisplayConfigRef
typedef struct _CGDisplayConfigRef* CGDisplayConfigRef;
// @doc CGConfigureOption /documentation/CoreGraphics/CGConfigureOption
typedef uint32_t CGConfigureOption;

// @doc CGBeginDisplayConfiguration /documentation/CoreGraphics/CGBeginDisplayConfiguration(_:)
CGError CGBeginDisplayConfiguration(CGDisplayConfigRef _Nullable* _Nullable config);
// @doc CGConfigureDisplayOrigin /documentation/CoreGraphics/CGConfigureDisplayOrigin(_:_:_:_:)
CGError CGConfigureDisplayOrigin(CGDisplayConfigRef _Nullable config, CGDirectDisplayID display, int32_t x, int32_t y);
// @doc CGCompleteDisplayConfiguration /documentation/CoreGraphics/CGCompleteDisplayConfiguration(_:_:)
CGError CGCompleteDisplayConfiguration(CGDisplayConfigRef _Nullable config, CGConfigureOption option);
// @doc CGCancelDisplayConfiguration /documentation/CoreGraphics/CGCancelDisplayConfiguration(_:)
CGError CGCancelDisplayConfiguration(CGDisplayConfigRef _Nullable config);

#pragma clang assume_nonnull end

#ifdef __cplusplus
}
#endif
