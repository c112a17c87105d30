#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "sim/world/DisplayServer.h"
#include "sim/app/SimApplication.h"

namespace turnlet::sim {

// What the simulated Mac offers the program; each can be taken away to see how the program copes
// with a Mac that lacks it.
struct WorldCapabilities {
  // The private virtual-display classes; refusing: they make no display (initWithDescriptor: yields nothing).
  enum class Classes { present, missing, differentEncoding, refusing };
  enum class Gpu { present, none, shaderFails, turnsBackwards };
  Classes virtualDisplayClasses = Classes::present;
  bool screenRecording = true;  // the permissions, granted or not
  bool postEvents = true;
  Gpu gpu = Gpu::present;
  bool newDisplayAppears = true;  // a virtual display joins the display list
  bool releasedDisplayLeaves = true;  // a released virtual display leaves the display list
  bool shareableContent = true;   // the capture service lists what it can capture
  bool eventSource = true;
  bool brightnessFunction = true;
  int systemVersion[3] = {27, 0, 0};
};

// A description of the simulated Mac, read from a JSON world file or built in. The schema is in
// docs/world-file.md.
struct WorldDescription {
  std::vector<SimDisplay> displays;
  DisplayID mainDisplay = 0;  // 0: the first display
  std::vector<SimApplication> applications = {};  // other applications and their windows
  WorldCapabilities capabilities = {};
};

// A world file that cannot be used; what() is one line naming the file and the problem.
class WorldFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The built-in world: a 1440×900 built-in main display and a 1366×1024 Sidecar iPad to its right,
// with three ordinary application windows on the iPad's part of the desktop.
WorldDescription defaultWorld();

// Parses a whole world file; throws WorldFileError, never returns a half-read world.
WorldDescription parseWorld(const std::string& json, const std::string& sourceName);
WorldDescription loadWorldFile(const std::string& path);

}  // namespace turnlet::sim
