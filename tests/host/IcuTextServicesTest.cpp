#include <gtest/gtest.h>

#include "host/IcuTextServices.h"

using namespace turnlet;

TEST(IcuTextServices, CaseInsensitiveSearchThatKeepsLettersWhole) {
  const host::IcuTextServices text("en");
  using Search = std::pair<const char*, const char*>;
  // Found: any case beyond ASCII, composed or not, next to a marked letter or malformed bytes.
  for (const auto& [in, pattern] :
       {Search{"Sidecar Display (AirPlay)", "sidecar"}, Search{"Anna\u2019s IPAD PRO", "ipad"},
        Search{"\u00C9CRAN", "\u00E9cran"}, Search{"E\u0301CRAN", "\u00E9cran"},
        Search{"\u0399\u03A0\u0391\u0394", "\u03B9\u03C0\u03B1\u03B4"}, Search{"x\u0301ipad", "ipad"},
        Search{"\xFF\xFEipad\xC0", "ipad"}})
    EXPECT_TRUE(text.localizedCaseInsensitiveContains(in, pattern)) << in;
  // Not found: a marked letter, a match ending inside a letter, malformed bytes, an empty pattern.
  for (const auto& [in, pattern] :
       {Search{"ECRAN", "\u00E9cran"}, Search{"i\u0307pad", "ipad"}, Search{"ipad\u0307x", "ipad"},
        Search{"iP\xC3"
               "ad",
               "ipad"},
        Search{"\xE2\x82", "ipad"}, Search{"ip", "ipad"}, Search{"ipad", ""}})
    EXPECT_FALSE(text.localizedCaseInsensitiveContains(in, pattern)) << in;
}

TEST(IcuTextServices, TheLanguageDecidesWhichLettersAreAlike) {
  // In Turkish the capital of i is İ, and I is the capital of dotless ı.
  const host::IcuTextServices turkish("tr");
  EXPECT_FALSE(turkish.localizedCaseInsensitiveContains("IPAD", "ipad"));
  EXPECT_TRUE(turkish.localizedCaseInsensitiveContains("\u0130PAD", "ipad"));
  EXPECT_TRUE(host::IcuTextServices().localizedCaseInsensitiveContains("SIDECAR", "sidecar"));
}
