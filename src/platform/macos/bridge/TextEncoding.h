#pragma once

#include <string>
#include <string_view>

namespace turnlet::macos {

// Text crosses to the platform as UTF-8 and comes back as UTF-16 code units. The platform answers
// nil for malformed UTF-8 and for text with unpaired surrogates when asked for UTF-8, so both
// directions are mended here first.

// The bytes with every malformed sequence replaced by U+FFFD, one per maximal subpart (the
// longest prefix of a well-formed sequence, or a single byte), as the Unicode standard
// recommends: overlong forms, encoded surrogates and values beyond U+10FFFF are malformed.
std::string repairedUtf8(std::string_view bytes);

// UTF-16 code units as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view units);

// UTF-8 as UTF-16 code units, malformed bytes read as U+FFFD first (repairedUtf8).
std::u16string utf16FromUtf8(std::string_view bytes);

// Whether every surrogate is paired, so the units have an exact UTF-8 form.
bool isWellFormedUtf16(std::u16string_view units);

}  // namespace turnlet::macos
