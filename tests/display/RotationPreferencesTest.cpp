#include <gtest/gtest.h>

#include "display/RotationPreferences.h"
#include "sim/system/MemoryDefaults.h"

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
  preferences.setPreferredDeviceID("IPAD-UUID");
  preferences.setLastDeviceID("OTHER-UUID");
  EXPECT_EQ(defaults.value("preferredDisplayDeviceID"), text("IPAD-UUID"));
  EXPECT_EQ(RotationPreferences(defaults).lastDeviceID(), "OTHER-UUID");  // nothing cached
  preferences.setPreferredDeviceID(std::nullopt);
  EXPECT_FALSE(defaults.value("preferredDisplayDeviceID"));  // removed, not an empty string
  EXPECT_EQ(preferences.lastDeviceID(), "OTHER-UUID");
  // A value of another type under the key is no identity.
  for (const DefaultsValue& other : {integer(42), opaque("\"OTHER-UUID\"")}) {
    defaults.set("lastDisplayDeviceID", other);
    EXPECT_FALSE(preferences.lastDeviceID());
  }
}

TEST(RotationPreferences, ReadingRotationsAcceptsOnlyTheFourIntegers) {
  sim::MemoryDefaults defaults;
  RotationPreferences preferences(defaults);
  EXPECT_FALSE(preferences.rotation("D"));  // no dictionary yet
  const std::pair<DefaultsValue, std::optional<QuarterTurn>> rows[] = {
      {integer(0), QuarterTurn::normal}, {integer(90), QuarterTurn::right}, {integer(180), QuarterTurn::inverted},
      {integer(270), QuarterTurn::left}, {integer(45), std::nullopt},       {integer(-90), std::nullopt},
      {text("90"), std::nullopt},        {opaque("90"), std::nullopt},      {DefaultsValue{true}, std::nullopt}};
  for (const auto& [stored, expected] : rows) {
    defaults.set(kRotations, DefaultsValue{DefaultsDictionary{{"D", stored}, {"", integer(90)}}});
    EXPECT_EQ(preferences.rotation("D"), expected);
  }
  // No identity, an empty one or an unknown one reads nothing, even with an entry under "".
  for (const std::optional<std::string>& device :
       {std::optional<std::string>(), std::optional<std::string>(""), std::optional<std::string>("unknown")})
    EXPECT_FALSE(preferences.rotation(device)) << device.value_or("-");
  defaults.set(kRotations, text("not a dictionary"));
  EXPECT_FALSE(preferences.rotation("D"));
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
  const DefaultsDictionary others{
      {"C", text("odd")}, {"R", opaque("90.5")}, {"N", DefaultsValue{DefaultsDictionary{{"x", opaque("null")}}}}};
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
