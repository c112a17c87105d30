#include "injection/TouchWindowTarget.h"

#include <cmath>

namespace turnlet {

namespace {

// A number entry, whatever it holds; absent when missing or not a number.
std::optional<double> number(const WindowListEntry& window, const char* key) {
  auto it = window.find(key);
  if (it == window.end() || !std::holds_alternative<double>(it->second)) return std::nullopt;
  return std::get<double>(it->second);
}

// Finite, above 0, at most the largest value and whole: only then is the conversion defined.
std::optional<double> wholePositive(std::optional<double> value, double largest) {
  if (!value || !std::isfinite(*value) || *value <= 0 || *value > largest || std::trunc(*value) != *value)
    return std::nullopt;
  return value;
}

}  // namespace

std::optional<WindowNumber> TouchWindowTarget::windowNumber(const WindowListEntry& window) {
  auto v = wholePositive(number(window, windowNumberKey), 4294967295.0);
  if (!v) return std::nullopt;
  return static_cast<WindowNumber>(*v);
}

std::optional<ProcessID> TouchWindowTarget::positivePID(const WindowListEntry& window) {
  auto v = wholePositive(number(window, windowOwnerPIDKey), 2147483647.0);
  if (!v) return std::nullopt;
  return static_cast<ProcessID>(*v);
}

bool TouchWindowTarget::valid(const Rect& rect) {
  return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) && std::isfinite(rect.size.width) &&
         std::isfinite(rect.size.height) && rect.size.width > 0 && rect.size.height > 0;
}

std::optional<Rect> TouchWindowTarget::boundsOf(const WindowListEntry& window) {
  auto it = window.find(windowBoundsKey);
  if (it == window.end() || !std::holds_alternative<WindowListNested>(it->second)) return std::nullopt;
  auto rect = rectFromDictionaryRepresentation(std::get<WindowListNested>(it->second));
  if (!rect || !valid(*rect)) return std::nullopt;
  return rect;
}

bool TouchWindowTarget::eligible(const WindowListEntry& window) {
  if (!windowNumber(window) || !positivePID(window) || !boundsOf(window)) return false;
  auto alpha = number(window, windowAlphaKey);
  if (!alpha || !std::isfinite(*alpha) || *alpha <= 0) return false;
  auto owner = window.find(windowOwnerNameKey);
  if (owner != window.end() && std::holds_alternative<std::string>(owner->second) &&
      std::get<std::string>(owner->second) == "WindowServer")
    return false;
  return true;
}

std::optional<TouchWindowTarget> TouchWindowTarget::select(Point point, const Rect& within,
                                                           const std::vector<WindowListEntry>& windows) {
  if (!std::isfinite(point.x) || !std::isfinite(point.y) || !valid(within) || !within.contains(point) ||
      windows.empty())
    return std::nullopt;
  for (const auto& window : windows) {
    if (!eligible(window)) continue;
    auto frame = boundsOf(window);
    auto id = windowNumber(window);
    auto pid = positivePID(window);
    if (!frame || !frame->contains(point) || !id || !pid) continue;
    return TouchWindowTarget{*id, *pid, *frame};
  }
  return std::nullopt;
}

std::optional<TouchWindowTarget> TouchWindowTarget::frontmost(Point point, DisplayID display,
                                                              DisplayServices& displays, WindowList& windowList) {
  const Rect displayBounds = displays.bounds(display);
  if (!std::isfinite(point.x) || !std::isfinite(point.y) || !valid(displayBounds) || !displayBounds.contains(point))
    return std::nullopt;
  auto windows = windowList.copyWindowInfo(windowListOptionOnScreenOnly, 0);
  if (!windows) return std::nullopt;
  return select(point, displayBounds, *windows);
}

std::optional<TouchWindowTarget> TouchWindowTarget::refreshed(WindowNumber id, ProcessID pid, WindowList& windowList) {
  if (id == 0 || pid < 1) return std::nullopt;
  auto windows = windowList.copyWindowInfo(windowListOptionIncludingWindow, id);
  if (!windows || windows->empty()) return std::nullopt;
  for (const auto& window : *windows) {
    if (windowNumber(window) != id || positivePID(window) != pid || !eligible(window)) continue;
    if (auto frame = boundsOf(window)) return TouchWindowTarget{id, pid, *frame};
  }
  return std::nullopt;
}

}  // namespace turnlet
