#include "macos/system/TimerSlack.h"

#include <algorithm>
#include <cmath>

namespace turnlet::macos {

void TimerSlack::add(std::uint64_t id, double due, double tolerance) {
  const double slack = std::isfinite(tolerance) && tolerance > 0 ? tolerance : 0;
  entries[id] = {due, due + slack};
}

void TimerSlack::remove(std::uint64_t id) { entries.erase(id); }

std::optional<TimerSlack::Window> TimerSlack::window(std::optional<double> earliestDue) {
  if (!earliestDue) {
    entries.clear();
    return std::nullopt;
  }
  if (!std::isfinite(*earliestDue)) return std::nullopt;
  double deadline = *earliestDue;
  bool first = true;
  for (auto it = entries.begin(); it != entries.end();) {
    if (it->second.due < *earliestDue) {
      it = entries.erase(it);  // fired or cancelled
      continue;
    }
    deadline = first ? it->second.deadline : std::min(deadline, it->second.deadline);
    first = false;
    ++it;
  }
  return Window{*earliestDue, std::max(0.0, deadline - *earliestDue)};
}

}  // namespace turnlet::macos
