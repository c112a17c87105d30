#pragma once

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CFArrayRef /documentation/CoreFoundation/CFArray
typedef const struct __attribute__((objc_bridge(NSArray))) __CFArray* CFArrayRef;

#ifdef __cplusplus
}
#endif
