#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGEventRef /documentation/CoreGraphics/CGEvent macOS 10.4
typedef struct __attribute__((objc_bridge(id))) __CGEvent* CGEventRef;
// @doc CGEventSourceRef /documentation/CoreGraphics/CGEventSource macOS 10.4
typedef struct __attribute__((objc_bridge(id))) __CGEventSource* CGEventSourceRef;
// @doc CGEventField /documentation/CoreGraphics/CGEventField macOS 10.4
typedef enum CGEventField : uint32_t {} CGEventField;
// @doc CGEventFlags /documentation/CoreGraphics/CGEventFlags macOS 10.4
typedef uint64_t CGEventFlags;
// @doc CGScrollEventUnit /documentation/CoreGraphics/CGScrollEventUnit macOS 10.4
typedef enum CGScrollEventUnit : uint32_t {} CGScrollEventUnit;
// @doc CGEventSourceStateID /documentation/CoreGraphics/CGEventSourceStateID macOS 10.4
typedef enum CGEventSourceStateID : int32_t {} CGEventSourceStateID;
// @doc CGEventFilterMask /documentation/CoreGraphics/CGEventFilterMask macOS 10.4
typedef uint32_t CGEventFilterMask;
// @doc CGEventSuppressionState /documentation/CoreGraphics/CGEventSuppressionState macOS 10.4
typedef enum CGEventSuppressionState : uint32_t {} CGEventSuppressionState;

#ifdef __cplusplus
}
#endif
