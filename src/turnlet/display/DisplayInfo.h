#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/DisplayServices.h"
#include "platform/Geometry.h"

namespace turnlet {

// A snapshot of one online display. Snapshots are never updated; take a new one with online().
// Displays are remembered by persistentID (stable across reconnection), never by id.
struct DisplayInfo {
  DisplayID id = 0;
  std::string name;
  Rect bounds;
  std::uint32_t vendor = 0;
  bool builtIn = false;
  bool main = false;
  bool mirrored = false;
  std::optional<std::string> persistentID;

  // Every online display in the system's order, the program's own virtual display included.
  // Any failure of the enumeration just shortens the list.
  static std::vector<DisplayInfo> online(DisplayServices& services);

  // Whether this is the program's own virtual display (by vendor, or by exact name).
  bool isOwnVirtualDisplay() const;
};

}  // namespace turnlet
