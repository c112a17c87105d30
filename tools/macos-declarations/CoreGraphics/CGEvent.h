#pragma once

#include <CoreGraphics/CGEventTypes.h>
#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGEventCreateScrollWheelEvent2 /documentation/CoreGraphics/CGEvent/init(scrollWheelEvent2Source:units:wheelCount:wheel1:wheel2:wheel3:) macOS 10.13
CGEventRef _Nullable CGEventCreateScrollWheelEvent2(CGEventSourceRef _Nullable source, CGScrollEventUnit units,
                                                    uint32_t wheelCount, int32_t wheel1, int32_t wheel2, int32_t wheel3)
    __attribute__((cf_returns_retained));
// @doc CGEventSetLocation /documentation/CoreGraphics/CGEvent/location macOS 10.4
void CGEventSetLocation(CGEventRef _Nullable event, CGPoint location);
// @doc CGEventSetFlags /documentation/CoreGraphics/CGEvent/flags macOS 10.4
void CGEventSetFlags(CGEventRef _Nullable event, CGEventFlags flags);
// @doc CGEventSetIntegerValueField /documentation/CoreGraphics/CGEvent/setIntegerValueField(_:value:) macOS 10.4
void CGEventSetIntegerValueField(CGEventRef _Nullable event, CGEventField field, int64_t value);
// @doc CGEventSetSource /documentation/CoreGraphics/CGEvent/setSource(_:) macOS 10.4
void CGEventSetSource(CGEventRef _Nullable event, CGEventSourceRef _Nullable source);
// @doc CGEventPostToPid /documentation/CoreGraphics/CGEvent/postToPid(_:) macOS 10.11
void CGEventPostToPid(pid_t pid, CGEventRef _Nullable event);
// @doc CGPreflightPostEventAccess /documentation/CoreGraphics/CGPreflightPostEventAccess() macOS 10.15
bool CGPreflightPostEventAccess(void);
// @doc CGRequestPostEventAccess /documentation/CoreGraphics/CGRequestPostEventAccess() macOS 10.15
bool CGRequestPostEventAccess(void);

#ifdef __cplusplus
}
#endif
