#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "macos/bridge/PlistValue.h"

using namespace turnlet;
using namespace turnlet::macos;

namespace {

PlistValue text(std::u16string units) { return PlistValue{std::move(units)}; }
const std::u16string loneSurrogate{u'a', char16_t(0xD800)};

}  // namespace

TEST(MacPlistValue, KnownValuesBecomeTheInterfacesAndTheRestStaysOpaque) {
  struct Row {
    const char* name;
    PlistValue plist;
    std::optional<DefaultsValue> typed;  // absent: expected opaque
  };
  const std::vector<Row> rows = {
      {"text", text(u"90"), DefaultsValue{std::string("90")}},
      {"text beyond the basic plane", text(u"\U0001F600"), DefaultsValue{std::string("\xF0\x9F\x98\x80")}},
      {"integer", PlistValue{std::int64_t{90}}, DefaultsValue{std::int64_t{90}}},
      {"negative integer", PlistValue{std::int64_t{-1}}, DefaultsValue{std::int64_t{-1}}},
      {"boolean", PlistValue{true}, DefaultsValue{true}},
      {"dictionary", PlistValue{PlistDictionary{{u"ABC", PlistValue{std::int64_t{270}}}}},
       DefaultsValue{DefaultsDictionary{{"ABC", DefaultsValue{std::int64_t{270}}}}}},
      {"text with a lone surrogate", text(loneSurrogate), std::nullopt},
      {"real", PlistValue{PlistReal{0.5}}, std::nullopt},
      {"negative zero", PlistValue{PlistReal{-0.0}}, std::nullopt},
      {"date", PlistValue{PlistDate{7.5e8}}, std::nullopt},
      {"data", PlistValue{PlistData{std::string("\0\xFF", 2)}}, std::nullopt},
      {"array", PlistValue{PlistArray{PlistValue{true}}}, std::nullopt},
      {"unsigned beyond the signed range", PlistValue{PlistUnsigned{std::uint64_t(1) << 63}}, std::nullopt},
      {"dictionary with a lone-surrogate key", PlistValue{PlistDictionary{{loneSurrogate, PlistValue{true}}}},
       std::nullopt},
  };
  for (const Row& row : rows) {
    const DefaultsValue read = defaultsValue(row.plist);
    if (row.typed) {
      EXPECT_EQ(read, *row.typed) << row.name;
    } else {
      EXPECT_NE(read.asOpaque(), nullptr) << row.name;
    }
    // Whatever was read is written back exactly as it was.
    EXPECT_EQ(plistValue(read), row.plist) << row.name;
  }
}

TEST(MacPlistValue, OpaqueEntriesInsideADictionaryAreKeptUnchanged) {
  const PlistValue stored{PlistDictionary{
      {u"count", PlistValue{std::int64_t{3}}},
      {u"when", PlistValue{PlistDate{1.25}}},
      {u"nested", PlistValue{PlistDictionary{{u"list", PlistValue{PlistArray{text(u"x"), PlistValue{PlistReal{2}}}}}}}},
  }};
  DefaultsValue read = defaultsValue(stored);
  const DefaultsDictionary* entries = read.asDictionary();
  ASSERT_NE(entries, nullptr);
  EXPECT_NE(entries->at("when").asOpaque(), nullptr);
  EXPECT_NE(entries->at("nested").asDictionary()->at("list").asOpaque(), nullptr);

  // The program changes one entry and writes the dictionary back: the others stay as they were.
  DefaultsDictionary changed = *entries;
  changed["count"] = DefaultsValue{std::int64_t{4}};
  PlistValue expected = stored;
  std::get<PlistDictionary>(expected.value)[u"count"] = PlistValue{std::int64_t{4}};
  EXPECT_EQ(plistValue(DefaultsValue{changed}), expected);
}

TEST(MacPlistValue, WrittenValuesMendMalformedText) {
  EXPECT_EQ(plistValue(DefaultsValue{std::string("a\x80")}), text(u"a\uFFFD"));
  EXPECT_EQ(plistValue(DefaultsValue{DefaultsDictionary{{"k\xFF", DefaultsValue{true}}}}),
            (PlistValue{PlistDictionary{{u"k\uFFFD", PlistValue{true}}}}));
}

TEST(MacPlistValue, TheReaderAcceptsOnlyWhatTheWriterMakes) {
  const std::string nan = encodedPlist(PlistValue{PlistReal{std::numeric_limits<double>::quiet_NaN()}});
  EXPECT_EQ(decodedPlist(nan), decodedPlist(nan)) << "a NaN keeps its bits";
  const std::vector<std::pair<const char*, std::string>> rows = {
      {"empty", ""},
      {"another store's form", "{\"json\":1}"},
      {"version only", "plist1:"},
      {"unknown tag", "plist1:X"},
      {"trailing bytes", "plist1:TT"},
      {"integer without end", "plist1:I12"},
      {"integer with a leading zero", "plist1:I012;"},
      {"negative zero integer", "plist1:I-0;"},
      {"small unsigned", "plist1:U5;"},
      {"short real", "plist1:R3ff"},
      {"upper-case hex", "plist1:R3FF0000000000000"},
      {"text shorter than its count", "plist1:S2:0061"},
      {"count beyond the text", "plist1:A99999999999:"},
      {"dictionary key not a text", "plist1:M1:I1;T"},
      {"duplicate dictionary key", "plist1:M2:S1:0061TS1:0061F"},
  };
  for (const auto& [name, representation] : rows) {
    EXPECT_EQ(decodedPlist(representation), std::nullopt) << name;
    EXPECT_EQ(plistValue(DefaultsValue{DefaultsOpaque{representation}}), std::nullopt) << name;
  }
  EXPECT_EQ(decodedPlist("plist1:R3ff0000000000000"), PlistValue{PlistReal{1.0}});

  std::string deep = "plist1:";
  for (int i = 0; i <= maximumPlistDepth; ++i) deep += "A1:";
  EXPECT_EQ(decodedPlist(deep + "T"), std::nullopt) << "nesting beyond the limit";
  PlistValue limit{true};
  for (int i = 0; i < maximumPlistDepth; ++i) limit = PlistValue{PlistArray{limit}};
  EXPECT_EQ(decodedPlist(encodedPlist(limit)), limit) << "nesting at the limit";
}
