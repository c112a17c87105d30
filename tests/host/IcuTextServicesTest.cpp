#include <gtest/gtest.h>

#include "host/IcuTextServices.h"

using namespace turnlet;

TEST(IcuTextServices, CaseInsensitiveSearchThatKeepsLettersWhole) {
  const host::IcuTextServices text("en");
  const struct {
    const char* text;
    const char* pattern;
    bool found;
  } rows[] = {
      {"Sidecar Display (AirPlay)", "sidecar", true},
      {"Anna\u2019s IPAD PRO", "ipad", true},
      {"\u00C9CRAN", "\u00E9cran", true},                                              // beyond ASCII
      {"E\u0301CRAN", "\u00E9cran", true},                                             // composed or not
      {"\u0399\u03A0\u0391\u0394", "\u03B9\u03C0\u03B1\u03B4", true},                  // Greek
      {"\u041F\u041B\u0410\u041D\u0428\u0415\u0422", "\u043F\u043B\u0430\u043D", true},  // Cyrillic
      {"ECRAN", "\u00E9cran", false},                                                  // a mark makes another letter
      {"i\u0307pad", "ipad", false},
      {"ipad\u0307x", "ipad", false},  // the match would end inside a letter
      {"x\u0301ipad", "ipad", true},   // a mark before the match belongs to x
      {"iP\xC3" "ad", "ipad", false},  // malformed UTF-8 is no letter
      {"\xFF\xFEipad\xC0", "ipad", true},
      {"\xE2\x82", "ipad", false},
      {"ip", "ipad", false},
      {"ipad", "", false},
  };
  for (const auto& row : rows) EXPECT_EQ(text.localizedCaseInsensitiveContains(row.text, row.pattern), row.found) << row.text;
}

TEST(IcuTextServices, TheLanguageDecidesWhichLettersAreAlike) {
  // In Turkish the capital of i is İ, and I is the capital of dotless ı.
  const host::IcuTextServices turkish("tr");
  EXPECT_FALSE(turkish.localizedCaseInsensitiveContains("IPAD", "ipad"));
  EXPECT_TRUE(turkish.localizedCaseInsensitiveContains("\u0130PAD", "ipad"));
  EXPECT_TRUE(host::IcuTextServices().localizedCaseInsensitiveContains("SIDECAR", "sidecar"));
}
