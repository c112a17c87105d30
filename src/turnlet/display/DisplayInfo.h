#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/DisplayServices.h"
#include "platform/Geometry.h"
#include "platform/TextServices.h"

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

  // Choosing the iPad to rotate (TargetDisplay.cpp). Each throws AppFailure with the sentence
  // the user reads. The name test is the platform's localised case-insensitive search.
  //
  // With an identity: the one display of among whose persistentID equals it, whatever its name.
  // Without: the one display whose name contains "sidecar" or "ipad" (in any case) and that is
  // neither built in nor the program's own virtual display. The chosen display is validated.
  static DisplayInfo findSidecar(const TextServices& text, const std::optional<std::string>& preferredDeviceID,
                                 const std::vector<DisplayInfo>& among);
  // From a fresh snapshot: the display with the given id if it is still online, else by name.
  static DisplayInfo findSidecar(DisplayServices& services, const TextServices& text,
                                 std::optional<DisplayID> preferredID);
  // Throws unless this display can be rotated now: an extended, unmirrored, non-empty display
  // that is neither built in, nor main, nor the program's own virtual display.
  void validate() const;
};

}  // namespace turnlet
