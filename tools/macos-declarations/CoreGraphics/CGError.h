#pragma once

#include <stdint.h>

// @doc CGError /documentation/CoreGraphics/CGError
typedef int32_t CGError;
enum : CGError {
  // @doc kCGErrorIllegalArgument /documentation/CoreGraphics/CGError/illegalArgument
  kCGErrorIllegalArgument = 1001,
};
