#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace turnlet::macos {

// A key equivalent's modifiers as a registered hot key's modifiers (the Event Manager's cmdKey
// 1 << 8, shiftKey 1 << 9, optionKey 1 << 11, controlKey 1 << 12); other bits are dropped.
std::uint32_t hotKeyModifiers(unsigned modifiers);

// The virtual key code of a letter (either case) or digit, by its place on an ANSI keyboard, as
// the Event Manager numbers keys; none for any other key.
std::optional<std::uint32_t> hotKeyCode(const std::string& key);

}  // namespace turnlet::macos
