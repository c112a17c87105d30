#pragma once

#include <Foundation/Foundation.h>

// The planted fault: a declaration whose documentation line does not say which macOS introduced it.
// @doc NSPlantedUndated /documentation/AppKit/NSPlantedUndated
extern "C" NSInteger NSPlantedUndated(void);
