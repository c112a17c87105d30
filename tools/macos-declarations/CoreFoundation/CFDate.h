#pragma once

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CFTimeInterval /documentation/CoreFoundation/CFTimeInterval
typedef double CFTimeInterval;
// @doc CFAbsoluteTime /documentation/CoreFoundation/CFAbsoluteTime
typedef CFTimeInterval CFAbsoluteTime;

// @doc CFAbsoluteTimeGetCurrent /documentation/CoreFoundation/CFAbsoluteTimeGetCurrent()
CFAbsoluteTime CFAbsoluteTimeGetCurrent(void);

#ifdef __cplusplus
}
#endif
