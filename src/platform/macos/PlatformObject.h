#pragma once

#include <optional>
#include <string>
#include <vector>

#include "macos/DisplayValues.h"

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

  static PlatformObject numberObject(PlatformNumber n) { return PlatformObject{Kind::number, n, {}, {}, {}}; }
  static PlatformObject textObject(std::string t) { return PlatformObject{Kind::text, {}, std::move(t), {}, {}}; }
};

// A dictionary entry; a key that is not text is absent.
struct PlatformEntry final {
  std::optional<std::string> key;
  PlatformObject value;
};

}  // namespace turnlet::macos
