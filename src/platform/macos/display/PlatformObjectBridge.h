#pragma once

#import <Foundation/Foundation.h>

#include "macos/display/PlatformObject.h"

namespace turnlet::macos {

// A Foundation object read as a PlatformObject: numbers (booleans too), texts (UTF-8, unpaired
// surrogates mended), dictionaries and arrays down to `depth` levels, anything else as other.
PlatformObject platformObject(id _Nullable object, int depth = 3);

}  // namespace turnlet::macos
