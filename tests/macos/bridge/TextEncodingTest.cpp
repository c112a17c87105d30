#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macos/bridge/TextEncoding.h"

using namespace turnlet::macos;

namespace {

const std::string fffd = "\xEF\xBF\xBD";

template <class In, class Out>
struct Row {
  const char* name;
  In in;
  Out out;
};

}  // namespace

TEST(MacText, MalformedUtf8BecomesOneReplacementPerMaximalSubpart) {
  const std::vector<Row<std::string, std::string>> rows = {
      {"ascii and an embedded NUL", std::string("a\0b", 3), std::string("a\0b", 3)},
      {"two, three and four bytes", "\xC2\xB7 \xE2\x80\xA6 \xF0\x9F\x98\x80", "\xC2\xB7 \xE2\x80\xA6 \xF0\x9F\x98\x80"},
      {"the highest code point", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
      {"lone continuation", "a\x80z", "a" + fffd + "z"},
      {"truncated at the end", "a\xE2\x82", "a" + fffd},
      {"truncated before ascii", "\xF0\x9F\x98z", fffd + "z"},
      {"overlong two bytes", "\xC0\xAF", fffd + fffd},
      {"overlong three bytes", "\xE0\x80\xAF", fffd + fffd + fffd},
      {"encoded surrogate", "\xED\xA0\x80", fffd + fffd + fffd},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},
      {"never a lead byte", "\xF5\xFF", fffd + fffd},
      {"lead then lead", "\xE2\xC2\xB7", fffd + "\xC2\xB7"},
  };
  for (const auto& row : rows) EXPECT_EQ(repairedUtf8(row.in), row.out) << row.name;
}

TEST(MacText, Utf16WithUnpairedSurrogatesBecomesUtf8WithReplacements) {
  const std::vector<Row<std::u16string, std::string>> rows = {
      {"ascii", u"Turnlet", "Turnlet"},
      {"middle dot and ellipsis", u"90\u00B0 \u00B7 Portrait\u2026", "90\xC2\xB0 \xC2\xB7 Portrait\xE2\x80\xA6"},
      {"a pair", u"\U0001F600", "\xF0\x9F\x98\x80"},
      {"lone high at the end", std::u16string(u"a") + char16_t(0xD83D), "a" + fffd},
      {"lone low", std::u16string(1, char16_t(0xDE00)) + u"b", fffd + "b"},
      {"high then not low", std::u16string{char16_t(0xD83D), u'x'}, fffd + "x"},
      {"two highs then low", std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)}, fffd + "\xF0\x9F\x98\x80"},
      {"the last BMP character", u"\uFFFF", "\xEF\xBF\xBF"},
  };
  for (const auto& row : rows) EXPECT_EQ(utf8FromUtf16(row.in), row.out) << row.name;
}

TEST(MacText, Utf8ToUtf16AndWellFormedness) {
  const std::vector<Row<std::string, std::u16string>> rows = {
      {"ascii", "iPad", u"iPad"},
      {"two and three bytes", "\xC2\xB7\xE2\x80\xA6", u"\u00B7\u2026"},
      {"beyond the basic plane is a pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"malformed bytes read as U+FFFD", "a\x80z\xE2\x82", u"a\uFFFDz\uFFFD"},
  };
  for (const auto& row : rows) EXPECT_EQ(utf16FromUtf8(row.in), row.out) << row.name;

  EXPECT_TRUE(isWellFormedUtf16(u"a\U0001F600b"));
  EXPECT_TRUE(isWellFormedUtf16(u""));
  EXPECT_FALSE(isWellFormedUtf16(std::u16string{u'a', char16_t(0xD83D)})) << "a high surrogate at the end";
  EXPECT_FALSE(isWellFormedUtf16(std::u16string{char16_t(0xDE00), u'a'})) << "a lone low surrogate";
  EXPECT_FALSE(isWellFormedUtf16(std::u16string{char16_t(0xD83D), u'a'})) << "a high surrogate before a letter";
}
