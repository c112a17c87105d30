#pragma once

#import <Foundation/Foundation.h>

#include "platform/Errors.h"

namespace turnlet::macos {

// The platform's error as the program passes it on: domain, code and localised description
// unchanged.
PlatformError platformError(NSError* _Nonnull error);

}  // namespace turnlet::macos
