#pragma once

#include <optional>

#include "platform/DisplayServices.h"

namespace turnlet {

// The first screen whose number is the display's id. A screen whose number is missing, or lies
// outside the range of display ids, shows no display: it is never cut down to one.
std::optional<ScreenInfo> screenOfDisplay(DisplayServices& displays, DisplayID id);

}  // namespace turnlet
