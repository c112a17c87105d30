#include "presentation/ScreenOfDisplay.h"

#include <limits>

namespace turnlet {

std::optional<ScreenInfo> screenOfDisplay(DisplayServices& displays, DisplayID id) {
  for (const ScreenInfo& screen : displays.screens()) {
    if (!screen.screenNumber) continue;
    const std::int64_t number = *screen.screenNumber;
    if (number >= 0 && number <= std::numeric_limits<DisplayID>::max() && number == id) return screen;
  }
  return std::nullopt;
}

}  // namespace turnlet
