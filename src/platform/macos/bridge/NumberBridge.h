#pragma once

#import <Foundation/Foundation.h>

#include <optional>

#include "macos/display/DisplayValues.h"

namespace turnlet::macos {

// A platform object read as a number: its kind (booleans told apart by their Core Foundation
// type, since they report the type encoding of a char) and its value; absent when it is no number.
std::optional<PlatformNumber> platformNumber(id _Nullable object);

}  // namespace turnlet::macos
