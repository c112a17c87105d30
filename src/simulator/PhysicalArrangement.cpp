#include "simulator/PhysicalArrangement.h"

#include <algorithm>

namespace turnlet::simulator {

bool PhysicalArrangement::isOwnVirtualDisplay(const sim::SimDisplay& display) {
  return display.vendor == 0x544C || display.name == "Turnlet Desktop";
}

bool PhysicalArrangement::ownVirtualDisplayOnline(const sim::DisplayServer& displays) {
  const auto online = displays.displays();
  return std::any_of(online.begin(), online.end(), isOwnVirtualDisplay);
}

void PhysicalArrangement::update(const sim::DisplayServer& displays) {
  const bool rotated = ownVirtualDisplayOnline(displays);
  std::map<DisplayID, Point> next;
  current.clear();
  for (const sim::SimDisplay& d : displays.displays()) {
    if (isOwnVirtualDisplay(d)) continue;
    Point origin = d.bounds.origin;
    if (auto known = origins.find(d.id); rotated && known != origins.end()) origin = known->second;
    next[d.id] = origin;
    current.push_back({d, Rect(origin, d.bounds.size)});
  }
  origins = std::move(next);
}

void PhysicalArrangement::move(DisplayID display, Point origin) {
  origins[display] = origin;
  for (Place& p : current)
    if (p.display.id == display) p.bounds.origin = origin;
}

const PhysicalArrangement::Place* PhysicalArrangement::find(DisplayID display) const {
  for (const Place& p : current)
    if (p.display.id == display) return &p;
  return nullptr;
}

const PhysicalArrangement::Place* PhysicalArrangement::ipad(DisplayID mainDisplay) const {
  for (const Place& p : current)
    if (p.display.id != mainDisplay && !p.display.builtIn) return &p;
  return nullptr;
}

Rect PhysicalArrangement::extent() const {
  Rect all = Rect::null();
  for (const Place& p : current) all = all.united(p.bounds);
  return all;
}

}  // namespace turnlet::simulator
