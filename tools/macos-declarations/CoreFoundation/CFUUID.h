#pragma once

// The reference shows these with implicitly unwrapped (unannotated) pointers: no nullability here.

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CFUUIDRef /documentation/CoreFoundation/CFUUID macOS 10.0
typedef const struct __attribute__((objc_bridge(id))) __CFUUID* CFUUIDRef;

// @doc CFUUIDCreateString /documentation/CoreFoundation/CFUUIDCreateString(_:_:) macOS 10.0
CFStringRef CFUUIDCreateString(CFAllocatorRef alloc, CFUUIDRef uuid) __attribute__((cf_returns_retained));

#ifdef __cplusplus
}
#endif
