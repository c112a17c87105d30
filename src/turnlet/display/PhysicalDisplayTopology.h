#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "display/DisplayInfo.h"

namespace turnlet {

// What the physical displays are, not where they are: a comparable snapshot that tells a real
// change (a display added, removed, resized, reconnected, made main or mirrored) from the moves
// the program makes itself. Positions and names are left out, and so is the program's own
// virtual display.
struct PhysicalDisplayTopology {
  struct Entry {
    DisplayID id = 0;
    std::optional<std::string> persistentID;
    std::uint32_t vendor = 0;
    double width = 0;   // points
    double height = 0;  // points
    bool builtIn = false;
    bool main = false;
    bool mirrored = false;

    // Sizes compare as numbers, except that a NaN size equals a NaN size: a snapshot must equal
    // a fresh snapshot of the same displays, or an odd size would look like a change forever.
    friend bool operator==(const Entry& a, const Entry& b);
  };

  PhysicalDisplayTopology() = default;
  explicit PhysicalDisplayTopology(const std::vector<DisplayInfo>& displays);

  std::vector<Entry> entries;  // sorted by id, ascending

  friend bool operator==(const PhysicalDisplayTopology&, const PhysicalDisplayTopology&) = default;
};

}  // namespace turnlet
