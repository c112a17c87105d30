#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/UserDefaults.h"

namespace turnlet::macos {

// A property-list value as the standard user defaults hold it, read from the platform's objects
// without loss: texts as their UTF-16 units (which may hold an unpaired surrogate), integers
// signed or beyond the signed range, reals and dates by their exact double, data as bytes.
struct PlistValue;
using PlistArray = std::vector<PlistValue>;
using PlistDictionary = std::map<std::u16string, PlistValue>;
struct PlistUnsigned final {
  std::uint64_t value = 0;  // only beyond the signed range
  friend bool operator==(const PlistUnsigned&, const PlistUnsigned&) = default;
};
struct PlistReal final {
  double value = 0;
  // Bit for bit: -0 is not 0, and a NaN equals itself.
  friend bool operator==(const PlistReal& a, const PlistReal& b);
};
struct PlistDate final {
  double sinceReferenceDate = 0;  // seconds since 2001-01-01 00:00:00 UTC
  friend bool operator==(const PlistDate& a, const PlistDate& b);
};
struct PlistData final {
  std::string bytes;
  friend bool operator==(const PlistData&, const PlistData&) = default;
};

struct PlistValue final {
  std::variant<std::u16string, std::int64_t, PlistUnsigned, PlistReal, bool, PlistDate, PlistData, PlistArray,
               PlistDictionary>
      value;
  bool operator==(const PlistValue& other) const { return value == other.value; }
};

// The defaults store's value for a property-list value: a text with an exact UTF-8 form, a signed
// integer, a boolean, and a dictionary whose keys all have an exact UTF-8 form are the
// interface's (a dictionary's entries converted the same way); anything else (reals, dates, data,
// arrays, integers beyond the signed range, texts with an unpaired surrogate, and dictionaries
// with such a key) is opaque, its representation the encoding below.
DefaultsValue defaultsValue(const PlistValue& plist);

// The property-list value to store for a defaults value; an opaque value is decoded back to
// exactly what was read. Absent when an opaque representation is not one this store wrote.
// Malformed UTF-8 in a text or a key is stored as U+FFFD.
std::optional<PlistValue> plistValue(const DefaultsValue& value);

// The opaque representation: a versioned, self-delimiting text ("plist1:" then the value), and
// its reader, which accepts only what the writer makes (absent otherwise) and refuses nesting
// deeper than maximumDepth.
inline constexpr int maximumPlistDepth = 256;
std::string encodedPlist(const PlistValue& plist);
std::optional<PlistValue> decodedPlist(const std::string& representation);

}  // namespace turnlet::macos
