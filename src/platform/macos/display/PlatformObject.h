#pragma once

#include <optional>
#include <string>
#include <vector>

#include "macos/display/DisplayValues.h"

namespace turnlet::macos {

struct PlatformEntry;

// A Core Foundation object as a bridge reads it, before it becomes one of the interface's loosely
// typed values: a number (booleans included, told apart by their kind), text (already UTF-8,
// unpaired surrogates mended), a dictionary, an array, or any other object.
struct PlatformObject final {
  enum class Kind { number, text, dictionary, array, other };
  Kind kind = Kind::other;
  PlatformNumber number;
  std::string text;
  std::vector<PlatformEntry> entries;  // a dictionary's, in the platform's order
  std::vector<PlatformObject> items;   // an array's

  static PlatformObject numberObject(PlatformNumber n);
  static PlatformObject textObject(std::string t);
};

// A dictionary entry; a key that is not text is absent.
struct PlatformEntry final {
  std::optional<std::string> key;
  PlatformObject value;
};

inline PlatformObject PlatformObject::numberObject(PlatformNumber n) {
  PlatformObject o;
  o.kind = Kind::number;
  o.number = n;
  return o;
}

inline PlatformObject PlatformObject::textObject(std::string t) {
  PlatformObject o;
  o.kind = Kind::text;
  o.text = std::move(t);
  return o;
}

}  // namespace turnlet::macos
