#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc AXError /documentation/ApplicationServices/AXError macOS 10.2
typedef enum AXError : int32_t {} AXError;

#ifdef __cplusplus
}
#endif
