#pragma once

#include <stdint.h>

// @doc CGError /documentation/CoreGraphics/CGError macOS 10.0
typedef enum CGError : int32_t {
  // @doc kCGErrorIllegalArgument /documentation/CoreGraphics/CGError/illegalArgument macOS 10.0
  kCGErrorIllegalArgument = 1001,
} CGError;
