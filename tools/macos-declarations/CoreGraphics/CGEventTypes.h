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
enum {
  // @doc kCGMouseEventButtonNumber /documentation/CoreGraphics/CGEventField/mouseEventButtonNumber
  kCGMouseEventButtonNumber = 3,
  // @doc kCGEventTargetUnixProcessID /documentation/CoreGraphics/CGEventField/eventTargetUnixProcessID
  kCGEventTargetUnixProcessID = 40,
  // @doc kCGScrollWheelEventIsContinuous /documentation/CoreGraphics/CGEventField/scrollWheelEventIsContinuous
  kCGScrollWheelEventIsContinuous = 88,
  // @doc kCGMouseEventWindowUnderMousePointer /documentation/CoreGraphics/CGEventField/mouseEventWindowUnderMousePointer
  kCGMouseEventWindowUnderMousePointer = 91,
  // @doc kCGMouseEventWindowUnderMousePointerThatCanHandleThisEvent /documentation/CoreGraphics/CGEventField/mouseEventWindowUnderMousePointerThatCanHandleThisEvent
  kCGMouseEventWindowUnderMousePointerThatCanHandleThisEvent = 92,
  // @doc kCGScrollWheelEventScrollPhase /documentation/CoreGraphics/CGEventField/scrollWheelEventScrollPhase
  kCGScrollWheelEventScrollPhase = 99,
  // @doc kCGScrollWheelEventMomentumPhase /documentation/CoreGraphics/CGEventField/scrollWheelEventMomentumPhase
  kCGScrollWheelEventMomentumPhase = 123,
};
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
