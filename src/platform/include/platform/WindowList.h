#pragma once

#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Geometry.h"

namespace turnlet {

// A value inside a window-list entry, loosely typed as the platform hands it over: a number
// object (read as a double, whatever it holds), text, or any other object. Nested dictionaries
// (the bounds) hold such values too.
struct WindowListOther {
  friend bool operator==(const WindowListOther&, const WindowListOther&) = default;
};
using WindowListScalar = std::variant<WindowListOther, double, std::string>;
using WindowListNested = std::map<std::string, WindowListScalar>;
using WindowListValue = std::variant<WindowListOther, double, std::string, WindowListNested>;
// One window of the list: keys to values; any key may be missing.
using WindowListEntry = std::map<std::string, WindowListValue>;

// The platform's keys.
inline constexpr const char* windowNumberKey = "kCGWindowNumber";
inline constexpr const char* windowOwnerPIDKey = "kCGWindowOwnerPID";
inline constexpr const char* windowBoundsKey = "kCGWindowBounds";
inline constexpr const char* windowAlphaKey = "kCGWindowAlpha";
inline constexpr const char* windowOwnerNameKey = "kCGWindowOwnerName";
inline constexpr const char* windowLayerKey = "kCGWindowLayer";

// List options, the platform's bits.
inline constexpr std::uint32_t windowListOptionOnScreenOnly = 1 << 0;
inline constexpr std::uint32_t windowListOptionIncludingWindow = 1 << 3;

// The rectangle of a dictionary representation ("X", "Y", "Width", "Height", all numbers), as the
// platform reads one: absent when a key is missing or not a number. The values are not checked.
inline std::optional<Rect> rectFromDictionaryRepresentation(const WindowListNested& dictionary) {
  double v[4];
  const char* keys[4] = {"X", "Y", "Width", "Height"};
  for (int i = 0; i < 4; ++i) {
    auto it = dictionary.find(keys[i]);
    if (it == dictionary.end() || !std::holds_alternative<double>(it->second)) return std::nullopt;
    v[i] = std::get<double>(it->second);
  }
  return Rect(v[0], v[1], v[2], v[3]);
}

// The window server's list of windows. Main loop only.
class WindowList {
 public:
  virtual ~WindowList() = default;
  // Front to back; absent when the list cannot be read. With windowListOptionOnScreenOnly and
  // window 0, the windows on screen; with windowListOptionIncludingWindow, the one window asked
  // for (an empty list when it is gone). The caller owns the copy.
  virtual std::optional<std::vector<WindowListEntry>> copyWindowInfo(std::uint32_t options,
                                                                     std::uint32_t relativeToWindow) = 0;
};

}  // namespace turnlet
