#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "macos/input/WindowListValues.h"

using namespace turnlet;
using namespace turnlet::macos;

namespace {

using K = PlatformObject::Kind;

PlatformObject integer(std::int64_t v) { return PlatformObject::numberObject({NumberKind::signedInteger, v, std::uint64_t(v), double(v)}); }
PlatformObject real(double v) { return PlatformObject::numberObject({NumberKind::real, 0, 0, v}); }
PlatformObject text(const char* t) { return PlatformObject::textObject(t); }
PlatformObject dictionary(std::vector<PlatformEntry> entries) { return PlatformObject{K::dictionary, {}, {}, std::move(entries), {}}; }
PlatformObject other() { return PlatformObject{}; }

PlatformObject window() {
  return dictionary({{windowNumberKey, integer(7)},
                     {windowOwnerPIDKey, integer(700)},
                     {windowOwnerNameKey, text("Editor")},
                     {windowAlphaKey, real(1)},
                     {windowLayerKey, integer(0)},
                     {windowBoundsKey, dictionary({{"X", real(1500)}, {"Y", integer(100)}, {"Width", real(400)}, {"Height", real(300)}})}});
}

PlatformEntry* find(PlatformObject& d, const char* key) {
  for (PlatformEntry& e : d.entries)
    if (e.key == key) return &e;
  return nullptr;
}

}  // namespace

TEST(MacWindowListValues, EveryValueSurvivesInItsLooseType) {
  const WindowListEntry good = windowListEntry(window());
  EXPECT_EQ(good.at(windowNumberKey), WindowListValue(7.0));
  EXPECT_EQ(good.at(windowOwnerNameKey), WindowListValue(std::string("Editor")));
  EXPECT_EQ(rectFromDictionaryRepresentation(std::get<WindowListNested>(good.at(windowBoundsKey))), Rect(1500, 100, 400, 300));

  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  struct Row {
    const char* name;
    std::function<void(PlatformObject&)> change;
    const char* key;
    std::optional<WindowListValue> expected;  // absent: the key is missing
  };
  auto bounds = [](PlatformObject& d) -> PlatformObject& { return find(d, windowBoundsKey)->value; };
  const std::vector<Row> rows = {
      {"number as text", [](auto& d) { find(d, windowNumberKey)->value = text("7"); }, windowNumberKey, WindowListValue(std::string("7"))},
      {"number as other", [](auto& d) { find(d, windowNumberKey)->value = other(); }, windowNumberKey, WindowListValue(WindowListOther{})},
      {"fractional number", [](auto& d) { find(d, windowNumberKey)->value = real(2.5); }, windowNumberKey, WindowListValue(2.5)},
      {"unsigned beyond 32 bits", [](auto& d) { find(d, windowNumberKey)->value = PlatformObject::numberObject({NumberKind::unsignedInteger, -1, ~0ull, 18446744073709551615.0}); },
       windowNumberKey, WindowListValue(18446744073709551615.0)},
      {"boolean pid read as its number", [](auto& d) { find(d, windowOwnerPIDKey)->value = PlatformObject::numberObject({NumberKind::boolean, 1, 1, 1.0}); },
       windowOwnerPIDKey, WindowListValue(1.0)},
      {"missing pid", [](auto& d) { find(d, windowOwnerPIDKey)->key = std::nullopt; }, windowOwnerPIDKey, std::nullopt},
      {"alpha NaN", [](auto& d) { find(d, windowAlphaKey)->value = real(nan); }, windowAlphaKey, WindowListValue(nan)},
      {"owner name a number", [](auto& d) { find(d, windowOwnerNameKey)->value = integer(3); }, windowOwnerNameKey, WindowListValue(3.0)},
      {"bounds a number", [&](auto& d) { bounds(d) = integer(3); }, windowBoundsKey, WindowListValue(3.0)},
      {"bounds an array", [&](auto& d) { bounds(d) = PlatformObject{K::array, {}, {}, {}, {integer(1)}}; }, windowBoundsKey, WindowListValue(WindowListOther{})},
      {"bounds width as text", [&](auto& d) { find(bounds(d), "Width")->value = text("400"); }, windowBoundsKey,
       WindowListValue(WindowListNested{{"X", 1500.0}, {"Y", 100.0}, {"Width", std::string("400")}, {"Height", 300.0}})},
      {"bounds with a nested dictionary", [&](auto& d) { find(bounds(d), "X")->value = dictionary({{"X", real(1)}}); }, windowBoundsKey,
       WindowListValue(WindowListNested{{"X", WindowListOther{}}, {"Y", 100.0}, {"Width", 400.0}, {"Height", 300.0}})},
      {"bounds key not text", [&](auto& d) { find(bounds(d), "Height")->key = std::nullopt; }, windowBoundsKey,
       WindowListValue(WindowListNested{{"X", 1500.0}, {"Y", 100.0}, {"Width", 400.0}})},
      {"same key twice, first kept", [](auto& d) { d.entries.push_back({windowNumberKey, integer(9)}); }, windowNumberKey, WindowListValue(7.0)},
  };
  for (const Row& row : rows) {
    PlatformObject d = window();
    row.change(d);
    const WindowListEntry entry = windowListEntry(d);
    const auto it = entry.find(row.key);
    if (!row.expected) {
      EXPECT_EQ(it, entry.end()) << row.name;
      continue;
    }
    ASSERT_NE(it, entry.end()) << row.name;
    if (std::holds_alternative<double>(*row.expected) && std::isnan(std::get<double>(*row.expected)))
      EXPECT_TRUE(std::holds_alternative<double>(it->second) && std::isnan(std::get<double>(it->second))) << row.name;
    else
      EXPECT_EQ(it->second, *row.expected) << row.name;
    EXPECT_EQ(entry.size(), 6u) << row.name << ": no other key lost";
  }
}

TEST(MacWindowListValues, TheListKeepsItsOrderAndLength) {
  EXPECT_EQ(windowListEntries(std::nullopt), std::nullopt) << "no list";
  EXPECT_EQ(windowListEntries(window()), std::nullopt) << "a dictionary is no list";
  PlatformObject behind = window();
  find(behind, windowNumberKey)->value = integer(8);
  const auto list = windowListEntries(PlatformObject{K::array, {}, {}, {}, {window(), text("stray"), behind}});
  ASSERT_TRUE(list);
  ASSERT_EQ(list->size(), 3u);
  EXPECT_EQ(list->at(0).at(windowNumberKey), WindowListValue(7.0));
  EXPECT_TRUE(list->at(1).empty()) << "an element that is no dictionary has no keys";
  EXPECT_EQ(list->at(2).at(windowNumberKey), WindowListValue(8.0));
  EXPECT_EQ(windowListEntries(PlatformObject{K::array, {}, {}, {}, {}}), std::vector<WindowListEntry>{});
}
