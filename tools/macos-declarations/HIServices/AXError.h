#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc AXError /documentation/ApplicationServices/AXError
typedef int32_t AXError;

#ifdef __cplusplus
}
#endif
