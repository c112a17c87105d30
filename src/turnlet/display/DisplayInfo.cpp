#include "display/DisplayInfo.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

#include "virtualdisplay/TurnletVirtualDisplayName.h"

namespace turnlet {

std::vector<DisplayInfo> DisplayInfo::online(DisplayServices& services) {
  std::uint32_t count = 0;
  if (services.onlineDisplayList({}, count) != 0 || count == 0) return {};

  std::vector<DisplayID> ids(count, 0);
  std::uint32_t filled = 0;
  if (services.onlineDisplayList(ids, filled) != 0) return {};

  std::unordered_map<DisplayID, std::string> names;
  for (const ScreenInfo& screen : services.screens()) {
    if (!screen.screenNumber) continue;
    const std::int64_t number = *screen.screenNumber;
    if (number < 0 || number > std::numeric_limits<std::uint32_t>::max()) continue;
    names[static_cast<DisplayID>(number)] = screen.localizedName;
  }

  const std::size_t n = std::min<std::size_t>(filled, ids.size());
  std::vector<DisplayInfo> displays;
  displays.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const DisplayID id = ids[i];
    DisplayInfo info;
    info.id = id;
    info.persistentID = services.uuidString(id);
    auto name = names.find(id);
    info.name = name != names.end() ? name->second : "Display " + std::to_string(id);
    info.bounds = services.bounds(id);
    info.vendor = services.vendorNumber(id);
    info.builtIn = services.isBuiltin(id);
    info.main = id == services.mainDisplayID();
    info.mirrored = services.isInMirrorSet(id);
    displays.push_back(std::move(info));
  }
  return displays;
}

bool DisplayInfo::isOwnVirtualDisplay() const {
  return vendor == TurnletVirtualDisplayVendorID || name == TurnletVirtualDisplayName;
}

}  // namespace turnlet
