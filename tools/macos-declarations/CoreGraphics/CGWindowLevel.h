#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGWindowLevel /documentation/CoreGraphics/CGWindowLevel
typedef int32_t CGWindowLevel;

// @doc CGWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey
typedef int32_t CGWindowLevelKey;
enum {
  // @doc kCGScreenSaverWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey/screenSaverWindow
  kCGScreenSaverWindowLevelKey = 13,
};

// @doc CGWindowLevelForKey /documentation/CoreGraphics/CGWindowLevelForKey(_:)
CGWindowLevel CGWindowLevelForKey(CGWindowLevelKey key);

#ifdef __cplusplus
}
#endif
