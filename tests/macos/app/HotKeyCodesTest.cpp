#include <gtest/gtest.h>

#include <optional>

#include "macos/app/HotKeyCodes.h"
#include "platform/Menu.h"

using namespace turnlet;
using namespace turnlet::macos;

TEST(MacHotKeyCodes, KeysByTheirPlaceAndModifiersAsTheEventManagerHasThem) {
  const std::pair<const char*, std::optional<std::uint32_t>> keys[] = {
      {"a", 0x00}, {"r", 0x0F}, {"R", 0x0F}, {"z", 0x06}, {"0", 0x1D}, {"5", 0x17}, {"9", 0x19},
      {"", std::nullopt}, {"rr", std::nullopt}, {"-", std::nullopt}};
  for (const auto& [key, code] : keys) EXPECT_EQ(hotKeyCode(key), code) << key;
  EXPECT_EQ(hotKeyModifiers(KeyEquivalent::control | KeyEquivalent::option | KeyEquivalent::command),
            (1u << 12) | (1u << 11) | (1u << 8));
  EXPECT_EQ(hotKeyModifiers(KeyEquivalent::shift | 16), 1u << 9);
}
