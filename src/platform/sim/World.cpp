#include "sim/World.h"

namespace turnlet::sim {

World::World(MainLoop& loop, const WorldDescription& description)
    : loop(loop), displays(loop), virtualDisplayClasses(loop, displays), gpu(loop) {
  displays.setUp(description.displays, description.mainDisplay);
  windows.applications = description.applications;
  windows.screenNumberAt = [this](const WindowFrame& frame) -> std::optional<std::int64_t> {
    const Point centre{frame.x + frame.width / 2, frame.y + frame.height / 2};
    for (const ScreenInfo& screen : displays.screens())
      if (screen.frame.contains(centre)) return screen.screenNumber;
    return std::nullopt;
  };
}

}  // namespace turnlet::sim
