#include "macos/bridge/PlistValue.h"

#include <bit>
#include <charconv>

#include "macos/bridge/TextEncoding.h"

namespace turnlet::macos {

bool operator==(const PlistReal& a, const PlistReal& b) {
  return std::bit_cast<std::uint64_t>(a.value) == std::bit_cast<std::uint64_t>(b.value);
}
bool operator==(const PlistDate& a, const PlistDate& b) {
  return std::bit_cast<std::uint64_t>(a.sinceReferenceDate) == std::bit_cast<std::uint64_t>(b.sinceReferenceDate);
}

namespace {

constexpr std::string_view version = "plist1:";
constexpr char hexDigits[] = "0123456789abcdef";

void appendHex(std::string& out, std::uint64_t value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += hexDigits[(value >> shift) & 0xF];
}

// Tag, then for texts, data, arrays and dictionaries a count and ':', then the payload.
void encode(const PlistValue& plist, std::string& out) {
  std::visit(
      [&out](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::u16string>) {
          out += 'S' + std::to_string(v.size()) + ':';
          for (char16_t unit : v) appendHex(out, unit, 4);
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          out += 'I' + std::to_string(v) + ';';
        } else if constexpr (std::is_same_v<T, PlistUnsigned>) {
          out += 'U' + std::to_string(v.value) + ';';
        } else if constexpr (std::is_same_v<T, PlistReal>) {
          out += 'R';
          appendHex(out, std::bit_cast<std::uint64_t>(v.value), 16);
        } else if constexpr (std::is_same_v<T, bool>) {
          out += v ? 'T' : 'F';
        } else if constexpr (std::is_same_v<T, PlistDate>) {
          out += 'D';
          appendHex(out, std::bit_cast<std::uint64_t>(v.sinceReferenceDate), 16);
        } else if constexpr (std::is_same_v<T, PlistData>) {
          out += 'B' + std::to_string(v.bytes.size()) + ':';
          for (char byte : v.bytes) appendHex(out, static_cast<unsigned char>(byte), 2);
        } else if constexpr (std::is_same_v<T, PlistArray>) {
          out += 'A' + std::to_string(v.size()) + ':';
          for (const PlistValue& item : v) encode(item, out);
        } else {
          out += 'M' + std::to_string(v.size()) + ':';
          for (const auto& [key, item] : v) {
            encode(PlistValue{key}, out);
            encode(item, out);
          }
        }
      },
      plist.value);
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text(text) {}

  std::optional<PlistValue> value(int depth) {
    if (depth > maximumPlistDepth || at >= text.size()) return std::nullopt;
    const char tag = text[at++];
    switch (tag) {
      case 'S': {
        auto units = text16();
        if (!units) return std::nullopt;
        return PlistValue{*units};
      }
      case 'I': {
        std::int64_t v = 0;
        if (!decimal(v)) return std::nullopt;
        return PlistValue{v};
      }
      case 'U': {
        std::uint64_t v = 0;
        if (!decimal(v) || v <= static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
        return PlistValue{PlistUnsigned{v}};
      }
      case 'R': {
        auto bits = hex(16);
        if (!bits) return std::nullopt;
        return PlistValue{PlistReal{std::bit_cast<double>(*bits)}};
      }
      case 'D': {
        auto bits = hex(16);
        if (!bits) return std::nullopt;
        return PlistValue{PlistDate{std::bit_cast<double>(*bits)}};
      }
      case 'T': return PlistValue{true};
      case 'F': return PlistValue{false};
      case 'B': {
        auto n = count();
        if (!n) return std::nullopt;
        PlistData data;
        for (std::size_t i = 0; i < *n; ++i) {
          auto byte = hex(2);
          if (!byte) return std::nullopt;
          data.bytes += static_cast<char>(*byte);
        }
        return PlistValue{std::move(data)};
      }
      case 'A': {
        auto n = count();
        if (!n) return std::nullopt;
        PlistArray items;
        for (std::size_t i = 0; i < *n; ++i) {
          auto item = value(depth + 1);
          if (!item) return std::nullopt;
          items.push_back(std::move(*item));
        }
        return PlistValue{std::move(items)};
      }
      case 'M': {
        auto n = count();
        if (!n) return std::nullopt;
        PlistDictionary entries;
        for (std::size_t i = 0; i < *n; ++i) {
          if (at >= text.size() || text[at++] != 'S') return std::nullopt;
          auto key = text16();
          auto item = key ? value(depth + 1) : std::nullopt;
          if (!item || !entries.emplace(std::move(*key), std::move(*item)).second) return std::nullopt;
        }
        return PlistValue{std::move(entries)};
      }
      default:
        return std::nullopt;
    }
  }

  bool atEnd() const { return at == text.size(); }

 private:
  template <class T>
  bool decimal(T& v) {
    const char* begin = text.data() + at;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(begin, end, v);
    if (error != std::errc() || stop == end || *stop != ';' || stop == begin) return false;
    // Only the writer's own form: no leading zeros, no "-0".
    const std::string_view digits(begin, static_cast<std::size_t>(stop - begin));
    if (digits != std::to_string(v)) return false;
    at = static_cast<std::size_t>(stop - text.data()) + 1;
    return true;
  }

  std::optional<std::size_t> count() {
    std::size_t n = 0;
    const char* begin = text.data() + at;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(begin, end, n);
    if (error != std::errc() || stop == end || *stop != ':' || stop == begin) return std::nullopt;
    if (std::string_view(begin, static_cast<std::size_t>(stop - begin)) != std::to_string(n)) return std::nullopt;
    at = static_cast<std::size_t>(stop - text.data()) + 1;
    if (n > text.size() - at) return std::nullopt;  // every item takes at least one character
    return n;
  }

  std::optional<std::uint64_t> hex(int digits) {
    if (text.size() - at < static_cast<std::size_t>(digits)) return std::nullopt;
    std::uint64_t v = 0;
    for (int i = 0; i < digits; ++i) {
      const char c = text[at++];
      const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (d < 0) return std::nullopt;
      v = (v << 4) | static_cast<std::uint64_t>(d);
    }
    return v;
  }

  std::optional<std::u16string> text16() {
    auto n = count();
    if (!n) return std::nullopt;
    std::u16string units;
    for (std::size_t i = 0; i < *n; ++i) {
      auto unit = hex(4);
      if (!unit) return std::nullopt;
      units += static_cast<char16_t>(*unit);
    }
    return units;
  }

  std::string_view text;
  std::size_t at = 0;
};

DefaultsValue opaque(const PlistValue& plist) { return DefaultsValue{DefaultsOpaque{encodedPlist(plist)}}; }

}  // namespace

std::string encodedPlist(const PlistValue& plist) {
  std::string out(version);
  encode(plist, out);
  return out;
}

std::optional<PlistValue> decodedPlist(const std::string& representation) {
  if (!representation.starts_with(version)) return std::nullopt;
  Reader reader(std::string_view(representation).substr(version.size()));
  auto value = reader.value(0);
  if (!value || !reader.atEnd()) return std::nullopt;
  return value;
}

DefaultsValue defaultsValue(const PlistValue& plist) {
  if (auto* text = std::get_if<std::u16string>(&plist.value))
    return isWellFormedUtf16(*text) ? DefaultsValue{utf8FromUtf16(*text)} : opaque(plist);
  if (auto* integer = std::get_if<std::int64_t>(&plist.value)) return DefaultsValue{*integer};
  if (auto* boolean = std::get_if<bool>(&plist.value)) return DefaultsValue{*boolean};
  if (auto* entries = std::get_if<PlistDictionary>(&plist.value)) {
    DefaultsDictionary dictionary;
    for (const auto& [key, item] : *entries) {
      if (!isWellFormedUtf16(key)) return opaque(plist);
      dictionary.emplace(utf8FromUtf16(key), defaultsValue(item));
    }
    return DefaultsValue{std::move(dictionary)};
  }
  return opaque(plist);
}

std::optional<PlistValue> plistValue(const DefaultsValue& value) {
  if (auto* text = value.asString()) return PlistValue{utf16FromUtf8(*text)};
  if (auto* integer = value.asInteger()) return PlistValue{*integer};
  if (auto* boolean = value.asBool()) return PlistValue{*boolean};
  if (auto* entries = value.asDictionary()) {
    PlistDictionary dictionary;
    for (const auto& [key, item] : *entries) {
      auto converted = plistValue(item);
      if (!converted) return std::nullopt;
      // Two keys that differ only in malformed bytes meet as one; the later one wins.
      dictionary.insert_or_assign(utf16FromUtf8(key), std::move(*converted));
    }
    return PlistValue{std::move(dictionary)};
  }
  return decodedPlist(value.asOpaque()->representation);
}

}  // namespace turnlet::macos
