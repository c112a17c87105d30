#include "macos/app/HotKeyCodes.h"

#include "platform/Menu.h"

namespace turnlet::macos {

std::uint32_t hotKeyModifiers(unsigned modifiers) {
  std::uint32_t flags = 0;
  if (modifiers & KeyEquivalent::command) flags |= 1u << 8;
  if (modifiers & KeyEquivalent::shift) flags |= 1u << 9;
  if (modifiers & KeyEquivalent::option) flags |= 1u << 11;
  if (modifiers & KeyEquivalent::control) flags |= 1u << 12;
  return flags;
}

std::optional<std::uint32_t> hotKeyCode(const std::string& key) {
  // Key codes name places on the keyboard, not characters, hence no order to compute them from.
  static constexpr std::uint8_t letters[26] = {0x00, 0x0B, 0x08, 0x02, 0x0E, 0x03, 0x05, 0x04, 0x22,
                                               0x26, 0x28, 0x25, 0x2E, 0x2D, 0x1F, 0x23, 0x0C, 0x0F,
                                               0x01, 0x11, 0x20, 0x09, 0x0D, 0x07, 0x10, 0x06};
  static constexpr std::uint8_t digits[10] = {0x1D, 0x12, 0x13, 0x14, 0x15, 0x17, 0x16, 0x1A, 0x1C, 0x19};
  if (key.size() != 1) return std::nullopt;
  const char c = key[0];
  if (c >= 'a' && c <= 'z') return letters[c - 'a'];
  if (c >= 'A' && c <= 'Z') return letters[c - 'A'];
  if (c >= '0' && c <= '9') return digits[c - '0'];
  return std::nullopt;
}

}  // namespace turnlet::macos
