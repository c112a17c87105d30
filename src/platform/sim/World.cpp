#include "sim/World.h"

namespace turnlet::sim {

World::World(MainLoop& loop, const WorldDescription& description)
    : loop(loop), displays(loop), virtualDisplayClasses(loop, displays), gpu(loop) {
  displays.setUp(description.displays, description.mainDisplay);
  windows.applications = description.applications;
}

}  // namespace turnlet::sim
