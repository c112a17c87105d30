#pragma once

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CFBooleanGetTypeID /documentation/CoreFoundation/CFBooleanGetTypeID() macOS 10.0
CFTypeID CFBooleanGetTypeID(void);

#ifdef __cplusplus
}
#endif
