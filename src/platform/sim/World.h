#pragma once

#include "sim/Compositor.h"
#include "sim/DisplayServer.h"
#include "sim/SimAccessibility.h"
#include "sim/SimCapture.h"
#include "sim/SimGpu.h"
#include "sim/SimInputEvents.h"
#include "sim/SimLibraryLoader.h"
#include "sim/SimPermissions.h"
#include "sim/SimSystemVersion.h"
#include "sim/SimTouchView.h"
#include "sim/SimWindowList.h"
#include "sim/SimWorkspace.h"
#include "sim/VirtualDisplayClasses.h"
#include "sim/WindowServer.h"
#include "sim/WorldFile.h"

namespace turnlet::sim {

// The whole simulated Mac. Tests reach each simulated service through it to script faults and
// read back what the program did. Time comes from the main loop it is given. Mouse clicks and
// scroll-wheel events posted to any process land on the frontmost application window under their
// location, which shows them. Main loop only, unless a service says otherwise.
class World {
 public:
  explicit World(MainLoop& loop, const WorldDescription& description = defaultWorld());

  MainLoop& loop;
  DisplayServer displays;
  VirtualDisplayClasses virtualDisplayClasses;
  SimGpu gpu;
  WindowServer windows{loop};
  SimLibraryLoader libraries{displays};
  SimPermissions permissions;
  SimSystemVersion system;
  SimInputEvents inputEvents;
  // What each display shows; the capture streams its pictures.
  Compositor compositor{displays, windows, inputEvents};
  SimWindowList windowList{windows};
  SimAccessibility accessibility{loop, windows};
  SimGestureRecognizers gestures{loop};
  SimScreenCapture capture{loop, displays};
  SimWorkspace workspace{loop};
};

}  // namespace turnlet::sim
