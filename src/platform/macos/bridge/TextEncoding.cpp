#include "macos/bridge/TextEncoding.h"

#include <cstdint>

namespace turnlet::macos {

namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD";

struct Lead {
  int continuations;       // bytes that must follow
  unsigned char low, high;  // the range of the first of them
};

// The well-formed UTF-8 byte sequences of the Unicode standard (table 3-7), by first byte.
bool leadOf(unsigned char b, Lead& lead) {
  if (b >= 0xC2 && b <= 0xDF) lead = {1, 0x80, 0xBF};
  else if (b == 0xE0) lead = {2, 0xA0, 0xBF};
  else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) lead = {2, 0x80, 0xBF};
  else if (b == 0xED) lead = {2, 0x80, 0x9F};  // not the surrogates
  else if (b == 0xF0) lead = {3, 0x90, 0xBF};
  else if (b >= 0xF1 && b <= 0xF3) lead = {3, 0x80, 0xBF};
  else if (b == 0xF4) lead = {3, 0x80, 0x8F};  // not beyond U+10FFFF
  else return false;
  return true;
}

void appendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string repairedUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    Lead lead;
    if (!leadOf(b, lead)) {
      out += replacement;
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    int seen = 0;
    while (seen < lead.continuations && j < bytes.size()) {
      const auto c = static_cast<unsigned char>(bytes[j]);
      const unsigned char low = seen == 0 ? lead.low : 0x80;
      const unsigned char high = seen == 0 ? lead.high : 0xBF;
      if (c < low || c > high) break;
      ++j;
      ++seen;
    }
    if (seen == lead.continuations) {
      out.append(bytes.substr(i, j - i));
    } else {
      out += replacement;  // the maximal subpart i..j is one replacement
    }
    i = j;
  }
  return out;
}

std::string utf8FromUtf16(std::u16string_view units) {
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const std::uint32_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      out += replacement;
    } else {
      appendUtf8(out, u);
    }
  }
  return out;
}

std::u16string utf16FromUtf8(std::string_view bytes) {
  const std::string text = repairedUtf8(bytes);
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    std::uint32_t c = length == 1 ? b : length == 2 ? (b & 0x1Fu) : length == 3 ? (b & 0x0Fu) : (b & 0x07u);
    for (int k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += static_cast<std::size_t>(length);
  }
  return out;
}

bool isWellFormedUtf16(std::u16string_view units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 >= units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

}  // namespace turnlet::macos
