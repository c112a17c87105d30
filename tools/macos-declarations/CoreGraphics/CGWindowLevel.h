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
  // @doc kCGNormalWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey/normalWindow
  kCGNormalWindowLevelKey = 4,
  // @doc kCGFloatingWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey/floatingWindow
  kCGFloatingWindowLevelKey = 5,
  // @doc kCGStatusWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey/statusWindow
  kCGStatusWindowLevelKey = 9,
  // @doc kCGScreenSaverWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey/screenSaverWindow
  kCGScreenSaverWindowLevelKey = 13,
};

// @doc CGWindowLevelForKey /documentation/CoreGraphics/CGWindowLevelForKey(_:)
CGWindowLevel CGWindowLevelForKey(CGWindowLevelKey key);

#ifdef __cplusplus
}
#endif
