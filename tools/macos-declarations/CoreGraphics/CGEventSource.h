#pragma once

#include <CoreFoundation/CFDate.h>
#include <CoreGraphics/CGEventTypes.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGEventSourceCreate /documentation/CoreGraphics/CGEventSource/init(stateID:) macOS 10.4
CGEventSourceRef _Nullable CGEventSourceCreate(CGEventSourceStateID stateID) __attribute__((cf_returns_retained));
// @doc CGEventSourceSetLocalEventsFilterDuringSuppressionState /documentation/CoreGraphics/CGEventSource/setLocalEventsFilterDuringSuppressionState(_:state:) macOS 10.4
void CGEventSourceSetLocalEventsFilterDuringSuppressionState(CGEventSourceRef _Nullable source, CGEventFilterMask filter,
                                                             CGEventSuppressionState state);
// @doc CGEventSourceSetLocalEventsSuppressionInterval /documentation/CoreGraphics/CGEventSource/localEventsSuppressionInterval macOS 10.4
void CGEventSourceSetLocalEventsSuppressionInterval(CGEventSourceRef _Nullable source, CFTimeInterval seconds);

#ifdef __cplusplus
}
#endif
