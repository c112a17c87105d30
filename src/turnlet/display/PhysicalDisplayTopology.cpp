#include "display/PhysicalDisplayTopology.h"

#include <algorithm>
#include <cmath>

namespace turnlet {

namespace {
bool sameLength(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }
}  // namespace

bool operator==(const PhysicalDisplayTopology::Entry& a, const PhysicalDisplayTopology::Entry& b) {
  return a.id == b.id && a.persistentID == b.persistentID && a.vendor == b.vendor && sameLength(a.width, b.width) &&
         sameLength(a.height, b.height) && a.builtIn == b.builtIn && a.main == b.main && a.mirrored == b.mirrored;
}

PhysicalDisplayTopology::PhysicalDisplayTopology(const std::vector<DisplayInfo>& displays) {
  for (const DisplayInfo& display : displays) {
    if (display.isOwnVirtualDisplay()) continue;
    entries.push_back(Entry{display.id, display.persistentID, display.vendor, display.bounds.width(),
                            display.bounds.height(), display.builtIn, display.main, display.mirrored});
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
}

}  // namespace turnlet
