#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGEventRef /documentation/CoreGraphics/CGEvent
typedef struct __attribute__((objc_bridge(id))) __CGEvent* CGEventRef;
// @doc CGEventSourceRef /documentation/CoreGraphics/CGEventSource
typedef struct __attribute__((objc_bridge(id))) __CGEventSource* CGEventSourceRef;
// @doc CGEventField /documentation/CoreGraphics/CGEventField
typedef uint32_t CGEventField;
// @doc CGEventFlags /documentation/CoreGraphics/CGEventFlags
typedef uint64_t CGEventFlags;
// @doc CGScrollEventUnit /documentation/CoreGraphics/CGScrollEventUnit
typedef uint32_t CGScrollEventUnit;
// @doc CGEventSourceStateID /documentation/CoreGraphics/CGEventSourceStateID
typedef int32_t CGEventSourceStateID;
// @doc CGEventFilterMask /documentation/CoreGraphics/CGEventFilterMask
typedef uint32_t CGEventFilterMask;
// @doc CGEventSuppressionState /documentation/CoreGraphics/CGEventSuppressionState
typedef uint32_t CGEventSuppressionState;

#ifdef __cplusplus
}
#endif
