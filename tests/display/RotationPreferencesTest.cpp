#include <gtest/gtest.h>

#include <string>

#include "display/RotationPreferences.h"
#include "sim/MemoryDefaults.h"

using namespace turnlet;

namespace {
const std::string kRotations = "displayRotationsByDevice";
DefaultsValue integer(std::int64_t n) { return DefaultsValue{n}; }
DefaultsValue text(std::string s) { return DefaultsValue{std::move(s)}; }
DefaultsValue opaque(std::string s) { return DefaultsValue{DefaultsOpaque{std::move(s)}}; }
}  // namespace

TEST(RotationPreferences, DeviceIdentitiesAreStringsAndAbsentRemovesTheKey) {
  sim::MemoryDefaults defaults;
  RotationPreferences preferences(defaults);
  EXPECT_FALSE(preferences.preferredDeviceID());

  preferences.setPreferredDeviceID("IPAD-UUID");
  preferences.setLastDeviceID("OTHER-UUID");
  EXPECT_EQ(defaults.value("preferredDisplayDeviceID"), text("IPAD-UUID"));
  EXPECT_EQ(RotationPreferences(defaults).lastDeviceID(), "OTHER-UUID");  // nothing cached

  preferences.setPreferredDeviceID(std::nullopt);
  EXPECT_FALSE(defaults.value("preferredDisplayDeviceID"));  // removed, not an empty string
  EXPECT_EQ(preferences.lastDeviceID(), "OTHER-UUID");

  // A value of another type under the key is no identity.
  defaults.set("lastDisplayDeviceID", integer(42));
  EXPECT_FALSE(preferences.lastDeviceID());
  defaults.set("lastDisplayDeviceID", opaque("\"OTHER-UUID\""));
  EXPECT_FALSE(preferences.lastDeviceID());
}

TEST(RotationPreferences, ReadingRotationsAcceptsOnlyTheFourIntegers) {
  sim::MemoryDefaults defaults;
  RotationPreferences preferences(defaults);
  EXPECT_FALSE(preferences.rotation("ninety"));  // no dictionary yet
  defaults.set(kRotations, DefaultsValue{DefaultsDictionary{
                               {"zero", integer(0)}, {"ninety", integer(90)}, {"half", integer(180)},
                               {"three", integer(270)}, {"odd", integer(45)}, {"full", integer(360)},
                               {"negative", integer(-90)}, {"text", text("90")}, {"flag", DefaultsValue{true}},
                               {"real", opaque("90.0")}, {"", integer(90)}}});
  const struct {
    std::optional<std::string> device;
    std::optional<QuarterTurn> expected;
  } rows[] = {
      {"zero", QuarterTurn::normal}, {"ninety", QuarterTurn::right}, {"half", QuarterTurn::inverted},
      {"three", QuarterTurn::left},  {"odd", std::nullopt},          {"full", std::nullopt},
      {"negative", std::nullopt},    {"text", std::nullopt},         {"flag", std::nullopt},
      {"real", std::nullopt},        {"", std::nullopt},             {std::nullopt, std::nullopt},
      {"unknown", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(preferences.rotation(row.device), row.expected) << row.device.value_or("-");

  defaults.set(kRotations, text("not a dictionary"));
  EXPECT_FALSE(preferences.rotation("ninety"));
}

TEST(RotationPreferences, RememberingReplacesOneEntryAndKeepsTheOthersExactly) {
  sim::MemoryDefaults defaults;
  RotationPreferences preferences(defaults);
  preferences.remember(QuarterTurn::left, "A");
  preferences.remember(QuarterTurn::right, "B");
  preferences.remember(QuarterTurn::normal, "A");  // kept as 0, not deleted
  preferences.remember(QuarterTurn::inverted, std::nullopt);
  preferences.remember(QuarterTurn::inverted, "");  // no identity: nothing written
  EXPECT_EQ(preferences.rotation("A"), QuarterTurn::normal);
  EXPECT_EQ(defaults.value(kRotations), (DefaultsValue{DefaultsDictionary{{"A", integer(0)}, {"B", integer(90)}}}));

  // Entries of types the program does not model, written by someone else, survive unchanged.
  const DefaultsDictionary others{{"C", text("odd")}, {"R", opaque("90.5")}, {"S", opaque("[270]")},
                                  {"N", DefaultsValue{DefaultsDictionary{{"x", opaque("null")}}}}};
  defaults.set(kRotations, DefaultsValue{others});
  preferences.remember(QuarterTurn::inverted, "D");
  preferences.remember(QuarterTurn::left, "R");
  DefaultsDictionary expected = others;
  expected["D"] = integer(180), expected["R"] = integer(270);
  EXPECT_EQ(defaults.value(kRotations), DefaultsValue{expected});

  // A value of another type under the key is replaced by a fresh dictionary; other keys stay.
  defaults.set(kRotations, opaque("[1, 2]"));
  preferences.setPreferredDeviceID("E");
  preferences.remember(QuarterTurn::left, "E");
  EXPECT_EQ(defaults.value(kRotations), (DefaultsValue{DefaultsDictionary{{"E", integer(270)}}}));
  EXPECT_EQ(preferences.preferredDeviceID(), "E");
}
