#pragma once

#include <string_view>

namespace turnlet {

// Whether text contains pattern, ignoring case, both read as UTF-8. Letters are compared after
// simple Unicode case folding (ASCII, Latin, Greek, Cyrillic, Armenian and a few compatibility
// letters such as the Kelvin sign), so "IPAD", "iPad" and "ipad" match alike in any name. A match
// never splits a character: it may not end just before a combining mark that belongs to its last
// letter ("ipad" is not found in "ipa" + "d" with a combining dot). Malformed UTF-8 in text is
// read one byte at a time as a replacement character and matches no letter. An empty pattern is
// found in every text.
bool containsCaseInsensitive(std::string_view text, std::string_view pattern);

}  // namespace turnlet
