#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/DisplayServices.h"

namespace turnlet::macos {

// What a number object of the platform holds, read from its type encoding (objCType): "c" to "q"
// are signed integers, "C" to "Q" unsigned ones, "f" and "d" reals, "B" a boolean. The platform's
// boolean numbers report "c"; the service tells them apart by their Core Foundation type.
enum class NumberKind { signedInteger, unsignedInteger, real, boolean, other };
NumberKind numberKind(std::string_view objCType);

// A number as read from the platform: its kind and its value in the widest type of that kind.
struct PlatformNumber final {
  NumberKind kind = NumberKind::other;
  std::int64_t signedValue = 0;
  std::uint64_t unsignedValue = 0;
  double realValue = 0;
};

// A number entry read as a whole number: any whole number a 64-bit signed integer holds, whatever
// type carries it; absent for a missing entry, a boolean, a fraction, a non-finite or too large
// number, or an object that is no number.
std::optional<std::int64_t> wholeNumber(const std::optional<PlatformNumber>& entry);

// A screen's "NSScreenNumber" entry as the interface's number: any whole number a 64-bit signed
// integer holds, whatever type carries it; absent for a missing entry, a boolean, a fraction, a
// non-finite or too large number, or an object that is no number.
std::optional<std::int64_t> screenNumber(const std::optional<PlatformNumber>& entry);

// The current mode's pixel size; absent without a mode, or for a mode that reports no pixels
// (the caller then falls back to twice the logical size, as without a mode).
std::optional<PixelSize> modePixelSize(bool hasMode, std::uint64_t width, std::uint64_t height);

}  // namespace turnlet::macos
