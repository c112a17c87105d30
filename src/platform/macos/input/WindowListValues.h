#pragma once

#include <vector>

#include "macos/display/PlatformObject.h"
#include "platform/WindowList.h"

namespace turnlet::macos {

// One dictionary of the window server's list as the interface's entry. Every value survives in
// its loose type: a number object of any kind (a boolean too) becomes its double value, text
// stays text, a dictionary (the bounds) keeps its numbers and texts with anything else as other,
// and any other object is other. Entries whose key is not text are dropped; of two keys that
// read the same once mended, the first stays. An element of the list that is not a dictionary
// becomes an entry without keys, so the list keeps its order and length.
WindowListEntry windowListEntry(const PlatformObject& dictionary);

// The list, front to back as the platform gave it; absent when the platform gave no array.
std::optional<std::vector<WindowListEntry>> windowListEntries(const std::optional<PlatformObject>& list);

}  // namespace turnlet::macos
