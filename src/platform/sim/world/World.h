#pragma once

#include "sim/world/Compositor.h"
#include "sim/world/DisplayServer.h"
#include "sim/input/SimAccessibility.h"
#include "sim/capture/SimCapture.h"
#include "sim/gpu/SimGpu.h"
#include "sim/input/SimInputEvents.h"
#include "sim/display/SimLibraryLoader.h"
#include "sim/app/SimHotKeys.h"
#include "sim/app/SimLoginItem.h"
#include "sim/app/SimPermissions.h"
#include "sim/system/SimSystemVersion.h"
#include "sim/input/SimTouchView.h"
#include "sim/input/SimWindowList.h"
#include "sim/system/SimWorkspace.h"
#include "sim/display/VirtualDisplayClasses.h"
#include "sim/world/WindowServer.h"
#include "sim/world/WorldFile.h"

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
  SimLoginItem loginItem;
  SimHotKeys hotKeys{loop};

  // Times the steps of every frame into the sink, for benchmarks (null: none). Before frames flow.
  void timeStages(StageTimings* sink) { timings = compositor.timings = gpu.timings = sink; }
  StageTimings* timings = nullptr;
};

}  // namespace turnlet::sim
