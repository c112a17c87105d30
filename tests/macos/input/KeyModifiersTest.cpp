#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "macos/input/KeyModifiers.h"

using namespace turnlet;
using namespace turnlet::macos;

TEST(MacKeyModifiers, ModifiersBecomeAppKitFlags) {
  struct Row {
    const char* name;
    unsigned modifiers;
    std::uint64_t flags;
  };
  const std::vector<Row> rows = {
      {"none", 0, 0},
      {"command", KeyEquivalent::command, 1u << 20},
      {"shift", KeyEquivalent::shift, 1u << 17},
      {"control", KeyEquivalent::control, 1u << 18},
      {"option", KeyEquivalent::option, 1u << 19},
      {"all four", KeyEquivalent::command | KeyEquivalent::shift | KeyEquivalent::option | KeyEquivalent::control,
       (1u << 17) | (1u << 18) | (1u << 19) | (1u << 20)},
      {"an unknown bit is dropped", 16 | KeyEquivalent::command, 1u << 20},
  };
  for (const auto& row : rows) EXPECT_EQ(appKitModifierFlags(row.modifiers), row.flags) << row.name;
  // An upper-case letter would add Shift on AppKit's side.
  EXPECT_EQ(appKitKeyEquivalent("Q"), "q");
  EXPECT_EQ(appKitKeyEquivalent("r"), "r");
  EXPECT_EQ(appKitKeyEquivalent(","), ",");
  EXPECT_EQ(appKitKeyEquivalent("QQ"), "QQ");
}
