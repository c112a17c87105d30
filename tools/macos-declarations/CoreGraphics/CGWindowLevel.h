#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGWindowLevel /documentation/CoreGraphics/CGWindowLevel macOS 10.0
typedef int32_t CGWindowLevel;

// @doc CGWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey macOS 10.0
typedef int32_t CGWindowLevelKey;
enum {
  // @doc kCGScreenSaverWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey/screenSaverWindow macOS 10.0
  kCGScreenSaverWindowLevelKey = 13,
};

// @doc CGWindowLevelForKey /documentation/CoreGraphics/CGWindowLevelForKey(_:) macOS 10.0
CGWindowLevel CGWindowLevelForKey(CGWindowLevelKey key);

#ifdef __cplusplus
}
#endif
