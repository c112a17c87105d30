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
typedef enum CGEventField : uint32_t {
  // @doc kCGMouseEventButtonNumber /documentation/CoreGraphics/CGEventField/mouseEventButtonNumber macOS 10.4
  kCGMouseEventButtonNumber = 3,
  // @doc kCGEventTargetUnixProcessID /documentation/CoreGraphics/CGEventField/eventTargetUnixProcessID macOS 10.4
  kCGEventTargetUnixProcessID = 40,
  // @doc kCGScrollWheelEventIsContinuous /documentation/CoreGraphics/CGEventField/scrollWheelEventIsContinuous macOS 10.4
  kCGScrollWheelEventIsContinuous = 88,
  // @doc kCGMouseEventWindowUnderMousePointer /documentation/CoreGraphics/CGEventField/mouseEventWindowUnderMousePointer macOS 10.4
  kCGMouseEventWindowUnderMousePointer = 91,
  // @doc kCGMouseEventWindowUnderMousePointerThatCanHandleThisEvent /documentation/CoreGraphics/CGEventField/mouseEventWindowUnderMousePointerThatCanHandleThisEvent macOS 10.4
  kCGMouseEventWindowUnderMousePointerThatCanHandleThisEvent = 92,
  // @doc kCGScrollWheelEventScrollPhase /documentation/CoreGraphics/CGEventField/scrollWheelEventScrollPhase macOS 10.4
  kCGScrollWheelEventScrollPhase = 99,
  // @doc kCGScrollWheelEventMomentumPhase /documentation/CoreGraphics/CGEventField/scrollWheelEventMomentumPhase macOS 10.4
  kCGScrollWheelEventMomentumPhase = 123,
} CGEventField;
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
