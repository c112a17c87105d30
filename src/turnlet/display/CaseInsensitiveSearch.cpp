#include "display/CaseInsensitiveSearch.h"

#include <cstdint>
#include <vector>

namespace turnlet {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes one code point at position i and advances i. Overlong forms, surrogates, values past
// U+10FFFF and truncated sequences yield the replacement character for their first byte only.
char32_t decodeOne(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
  const std::uint8_t lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return kReplacementCharacter;
  }
  if (i + length > text.size()) {
    ++i;
    return kReplacementCharacter;
  }
  for (int k = 1; k < length; ++k) {
    const std::uint8_t next = byte(i + k);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return kReplacementCharacter;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kReplacementCharacter;
  }
  i += length;
  return cp;
}

// Simple case folding (one code point to one code point) for the scripts display names use.
char32_t fold(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c == 0x00B5) return 0x03BC;  // micro sign -> Greek mu
  if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return c + 32;
  if (c >= 0x0100 && c <= 0x017F) {
    if (c == 0x0130 || c == 0x0131 || c == 0x0138 || c == 0x0149) return c;  // dotted/dotless i, kra, 'n
    if (c == 0x0178) return 0x00FF;
    if (c == 0x017F) return 's';  // long s
    const bool oddUpper = (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
    if (oddUpper) return (c % 2 == 1) ? c + 1 : c;
    return (c % 2 == 0) ? c + 1 : c;
  }
  if (c >= 0x0386 && c <= 0x03AB) {
    if (c == 0x0386) return 0x03AC;
    if (c >= 0x0388 && c <= 0x038A) return c + 37;
    if (c == 0x038C) return 0x03CC;
    if (c == 0x038E || c == 0x038F) return c + 63;
    if (c >= 0x0391 && c != 0x03A2) return c + 32;
    return c;
  }
  if (c == 0x03C2) return 0x03C3;  // final sigma
  if (c >= 0x0400 && c <= 0x040F) return c + 80;
  if (c >= 0x0410 && c <= 0x042F) return c + 32;
  if ((c >= 0x0460 && c <= 0x0481) || (c >= 0x048A && c <= 0x04BF) || (c >= 0x04D0 && c <= 0x052F))
    return (c % 2 == 0) ? c + 1 : c;
  if (c == 0x04C0) return 0x04CF;
  if (c >= 0x04C1 && c <= 0x04CE) return (c % 2 == 1) ? c + 1 : c;
  if (c >= 0x0531 && c <= 0x0556) return c + 48;
  if ((c >= 0x1E00 && c <= 0x1E95) || (c >= 0x1EA0 && c <= 0x1EFF)) return (c % 2 == 0) ? c + 1 : c;
  if (c == 0x1E9E) return 0x00DF;  // capital sharp s
  if (c == 0x212A) return 'k';     // Kelvin sign
  if (c == 0x212B) return 0x00E5;  // Angstrom sign
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
  return c;
}

// Marks that attach to the character before them, so that a match ending just before one would
// split a character.
bool isCombiningMark(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
         (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F) || c == 0x200D ||
         (c >= 0xFE00 && c <= 0xFE0F);
}

std::vector<char32_t> foldedCodePoints(std::string_view text) {
  std::vector<char32_t> result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) result.push_back(fold(decodeOne(text, i)));
  return result;
}

}  // namespace

bool containsCaseInsensitive(std::string_view text, std::string_view pattern) {
  const std::vector<char32_t> hay = foldedCodePoints(text);
  const std::vector<char32_t> needle = foldedCodePoints(pattern);
  if (needle.empty()) return true;
  if (needle.size() > hay.size()) return false;
  for (std::size_t start = 0; start + needle.size() <= hay.size(); ++start) {
    bool equal = true;
    for (std::size_t k = 0; k < needle.size() && equal; ++k) equal = hay[start + k] == needle[k];
    if (!equal) continue;
    const std::size_t end = start + needle.size();
    if (end < hay.size() && isCombiningMark(hay[end])) continue;
    return true;
  }
  return false;
}

}  // namespace turnlet
