#pragma once

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CFTimeInterval /documentation/CoreFoundation/CFTimeInterval macOS 10.0
typedef double CFTimeInterval;
// @doc CFAbsoluteTime /documentation/CoreFoundation/CFAbsoluteTime macOS 10.0
typedef CFTimeInterval CFAbsoluteTime;

// @doc CFAbsoluteTimeGetCurrent /documentation/CoreFoundation/CFAbsoluteTimeGetCurrent() macOS 10.0
CFAbsoluteTime CFAbsoluteTimeGetCurrent(void);

#ifdef __cplusplus
}
#endif
