#include <gtest/gtest.h>

#include <string>

#include "display/RotationPreferences.h"
#include "sim/MemoryDefaults.h"

using namespace turnlet;

namespace {
const std::string kRotations = "displayRotationsByDevice";

DefaultsValue rotationsOf(sim::MemoryDefaults& defaults) { return *defaults.value(kRotations); }
}  // namespace

TEST(RotationPreferences, DeviceIdentitiesAreStringsAndAbsentRemovesTheKey) {
  sim::MemoryDefaults defaults;
  RotationPreferences preferences(defaults);
  EXPECT_FALSE(preferences.preferredDeviceID());
  EXPECT_FALSE(preferences.lastDeviceID());

  preferences.setPreferredDeviceID("IPAD-UUID");
  preferences.setLastDeviceID("OTHER-UUID");
  EXPECT_EQ(defaults.value("preferredDisplayDeviceID"), DefaultsValue{std::string("IPAD-UUID")});
  EXPECT_EQ(defaults.value("lastDisplayDeviceID"), DefaultsValue{std::string("OTHER-UUID")});
  EXPECT_EQ(preferences.preferredDeviceID(), "IPAD-UUID");
  EXPECT_EQ(RotationPreferences(defaults).lastDeviceID(), "OTHER-UUID");  // nothing cached

  preferences.setPreferredDeviceID(std::nullopt);
  EXPECT_FALSE(defaults.value("preferredDisplayDeviceID"));  // removed, not an empty string
  EXPECT_FALSE(preferences.preferredDeviceID());
  EXPECT_EQ(preferences.lastDeviceID(), "OTHER-UUID");

  // A value of another type under the key is no identity.
  defaults.set("lastDisplayDeviceID", DefaultsValue{std::int64_t{42}});
  EXPECT_FALSE(preferences.lastDeviceID());
}

TEST(RotationPreferences, ReadingRotationsAcceptsOnlyTheFourIntegers) {
  sim::MemoryDefaults defaults;
  RotationPreferences preferences(defaults);
  EXPECT_FALSE(preferences.rotation("A"));  // no dictionary yet

  defaults.set(kRotations, DefaultsValue{DefaultsDictionary{
                               {"zero", DefaultsValue{std::int64_t{0}}},
                               {"ninety", DefaultsValue{std::int64_t{90}}},
                               {"half", DefaultsValue{std::int64_t{180}}},
                               {"three", DefaultsValue{std::int64_t{270}}},
                               {"odd", DefaultsValue{std::int64_t{45}}},
                               {"full", DefaultsValue{std::int64_t{360}}},
                               {"negative", DefaultsValue{std::int64_t{-90}}},
                               {"text", DefaultsValue{std::string("90")}},
                               {"flag", DefaultsValue{true}},
                               {"", DefaultsValue{std::int64_t{90}}},
                           }});
  const struct {
    std::optional<std::string> device;
    std::optional<QuarterTurn> expected;
  } rows[] = {
      {"zero", QuarterTurn::normal},  {"ninety", QuarterTurn::right}, {"half", QuarterTurn::inverted},
      {"three", QuarterTurn::left},   {"odd", std::nullopt},          {"full", std::nullopt},
      {"negative", std::nullopt},     {"text", std::nullopt},         {"flag", std::nullopt},
      {"", std::nullopt},             {std::nullopt, std::nullopt},   {"unknown", std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.device.value_or("<absent>"));
    EXPECT_EQ(preferences.rotation(row.device), row.expected);
  }

  defaults.set(kRotations, DefaultsValue{std::string("not a dictionary")});
  EXPECT_FALSE(preferences.rotation("ninety"));
}

TEST(RotationPreferences, RememberingReplacesOneEntryAndKeepsTheOthers) {
  sim::MemoryDefaults defaults;
  RotationPreferences preferences(defaults);

  preferences.remember(QuarterTurn::left, "A");
  preferences.remember(QuarterTurn::right, "B");
  preferences.remember(QuarterTurn::normal, "A");  // kept as 0, not deleted
  EXPECT_EQ(preferences.rotation("A"), QuarterTurn::normal);
  EXPECT_EQ(preferences.rotation("B"), QuarterTurn::right);
  EXPECT_EQ(rotationsOf(defaults), (DefaultsValue{DefaultsDictionary{{"A", DefaultsValue{std::int64_t{0}}},
                                                                     {"B", DefaultsValue{std::int64_t{90}}}}}));

  // No identity, or an empty one: nothing is written.
  preferences.remember(QuarterTurn::inverted, std::nullopt);
  preferences.remember(QuarterTurn::inverted, "");
  EXPECT_EQ(std::get<DefaultsDictionary>(rotationsOf(defaults).value).size(), 2u);

  // Entries of other types written by someone else survive a remember for another device.
  defaults.set(kRotations, DefaultsValue{DefaultsDictionary{{"C", DefaultsValue{std::string("odd")}}}});
  preferences.remember(QuarterTurn::inverted, "D");
  EXPECT_EQ(rotationsOf(defaults),
            (DefaultsValue{DefaultsDictionary{{"C", DefaultsValue{std::string("odd")}},
                                              {"D", DefaultsValue{std::int64_t{180}}}}}));

  // A value of another type under the key is replaced by a fresh dictionary.
  defaults.set(kRotations, DefaultsValue{std::int64_t{7}});
  preferences.remember(QuarterTurn::left, "E");
  EXPECT_EQ(preferences.rotation("E"), QuarterTurn::left);

  // Other keys are untouched.
  preferences.setPreferredDeviceID("E");
  preferences.remember(QuarterTurn::right, "E");
  EXPECT_EQ(preferences.preferredDeviceID(), "E");
}
