#pragma once

// With Objective-C and ARC, the system's objects (dispatch queues, logs) are Objective-C objects
// that conform to a protocol per type; ARC retains and releases them.

#include <objc/NSObject.h>

// @doc OS_object /documentation/os/OS_object macOS 10.12
@protocol OS_object <NSObject>
@end
