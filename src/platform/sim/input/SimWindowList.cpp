#include "sim/input/SimWindowList.h"

namespace turnlet::sim {

WindowListEntry SimWindowList::entry(const SimApplication& app, const SimAppWindow& window) {
  const Rect& b = window.bounds;
  return {{windowNumberKey, double(window.number)},
          {windowOwnerPIDKey, double(app.pid)},
          {windowOwnerNameKey, app.name},
          {windowAlphaKey, window.alpha},
          {windowLayerKey, double(window.layer)},
          {windowBoundsKey, WindowListNested{{"X", b.origin.x}, {"Y", b.origin.y}, {"Width", b.size.width},
                                             {"Height", b.size.height}}}};
}

std::optional<std::vector<WindowListEntry>> SimWindowList::copyWindowInfo(std::uint32_t options,
                                                                         std::uint32_t relativeToWindow) {
  ++reads;
  if (unreadable) return std::nullopt;
  std::vector<WindowListEntry> list;
  for (const auto& [app, window] : server.appWindowsFrontToBack()) {
    if ((options & windowListOptionIncludingWindow) && window->number != relativeToWindow) continue;
    list.push_back(entry(*app, *window));
  }
  if (tamper) tamper(list);
  return list;
}

}  // namespace turnlet::sim
