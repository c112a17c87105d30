#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/Geometry.h"

namespace turnlet {

// The rotation the user asks for, in degrees clockwise.
enum class QuarterTurn : int { normal = 0, right = 90, inverted = 180, left = 270 };

inline constexpr std::array<QuarterTurn, 4> allQuarterTurns = {QuarterTurn::normal, QuarterTurn::right,
                                                               QuarterTurn::inverted, QuarterTurn::left};

inline constexpr int rawValue(QuarterTurn turn) { return static_cast<int>(turn); }

// Exactly 0, 90, 180 and 270; no normalisation of other angles.
inline constexpr std::optional<QuarterTurn> quarterTurnFromRawValue(std::int64_t degrees) {
  switch (degrees) {
    case 0: return QuarterTurn::normal;
    case 90: return QuarterTurn::right;
    case 180: return QuarterTurn::inverted;
    case 270: return QuarterTurn::left;
    default: return std::nullopt;
  }
}

inline constexpr bool isPortrait(QuarterTurn turn) {
  return turn == QuarterTurn::right || turn == QuarterTurn::left;
}

// The successor in allQuarterTurns, wrapping from left to normal.
inline constexpr QuarterTurn nextQuarterTurn(QuarterTurn turn) {
  return static_cast<QuarterTurn>((rawValue(turn) + 90) % 360);
}

// The number of clockwise quarter turns, as the rotation shader counts them.
inline constexpr int quarterTurnCount(QuarterTurn turn) { return rawValue(turn) / 90; }

// The size of the virtual display that is shown turned on a display of the given size.
inline constexpr Size sourceSize(QuarterTurn turn, Size size) {
  return isPortrait(turn) ? Size{size.height, size.width} : size;
}

}  // namespace turnlet

template <>
struct std::hash<turnlet::QuarterTurn> {
  std::size_t operator()(turnlet::QuarterTurn turn) const noexcept { return std::hash<int>{}(turnlet::rawValue(turn)); }
};
