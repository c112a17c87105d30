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
  // @doc kCGNormalWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey/normalWindow macOS 10.0
  kCGNormalWindowLevelKey = 4,
  // @doc kCGFloatingWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey/floatingWindow macOS 10.0
  kCGFloatingWindowLevelKey = 5,
  // @doc kCGStatusWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey/statusWindow macOS 10.0
  kCGStatusWindowLevelKey = 9,
  // @doc kCGScreenSaverWindowLevelKey /documentation/CoreGraphics/CGWindowLevelKey/screenSaverWindow macOS 10.0
  kCGScreenSaverWindowLevelKey = 13,
};

// @doc CGWindowLevelForKey /documentation/CoreGraphics/CGWindowLevelForKey(_:) macOS 10.0
CGWindowLevel CGWindowLevelForKey(CGWindowLevelKey key);

#ifdef __cplusplus
}
#endif
