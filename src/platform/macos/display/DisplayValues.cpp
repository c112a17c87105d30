#include "macos/display/DisplayValues.h"

#include <cmath>
#include <limits>

namespace turnlet::macos {

NumberKind numberKind(std::string_view objCType) {
  if (objCType.size() != 1) return NumberKind::other;
  switch (objCType[0]) {
    case 'c': case 's': case 'i': case 'l': case 'q': return NumberKind::signedInteger;
    case 'C': case 'S': case 'I': case 'L': case 'Q': return NumberKind::unsignedInteger;
    case 'f': case 'd': return NumberKind::real;
    case 'B': return NumberKind::boolean;
    default: return NumberKind::other;
  }
}

std::optional<std::int64_t> wholeNumber(const std::optional<PlatformNumber>& entry) {
  if (!entry) return std::nullopt;
  constexpr auto largest = std::numeric_limits<std::int64_t>::max();
  switch (entry->kind) {
    case NumberKind::signedInteger:
      return entry->signedValue;
    case NumberKind::unsignedInteger:
      if (entry->unsignedValue > static_cast<std::uint64_t>(largest)) return std::nullopt;
      return static_cast<std::int64_t>(entry->unsignedValue);
    case NumberKind::real: {
      const double r = entry->realValue;
      // 2^63 is the first double beyond the range; -2^63 is the last one inside it.
      if (!std::isfinite(r) || std::trunc(r) != r || r >= 9223372036854775808.0 || r < -9223372036854775808.0)
        return std::nullopt;
      return static_cast<std::int64_t>(r);
    }
    case NumberKind::boolean:
    case NumberKind::other:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::int64_t> screenNumber(const std::optional<PlatformNumber>& entry) { return wholeNumber(entry); }

std::optional<PixelSize> modePixelSize(bool hasMode, std::uint64_t width, std::uint64_t height) {
  if (!hasMode || width == 0 || height == 0) return std::nullopt;
  return PixelSize{width, height};
}

}  // namespace turnlet::macos
