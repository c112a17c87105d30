#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "macos/display/DisplayValues.h"
#include "platform/Accessibility.h"

namespace turnlet::macos {

// An attribute value as the accessibility bridge reads it from Core Foundation, before it becomes
// the interface's loosely typed value: text (UTF-8, mended), a number object (booleans keep their
// kind), an accessibility value with its type number and, when the platform could read it as two
// doubles, those two, an element, an array, or anything else.
struct AXObject final {
  enum class Kind { text, number, axValue, element, array, other };
  Kind kind = Kind::other;
  std::string text;
  PlatformNumber number;
  std::int64_t axValueType = 0;  // the platform's value type number
  std::optional<std::pair<double, double>> axValuePair;  // a point's x and y, a size's width and height
  AccessibilityElementRef element;
  std::vector<AXObject> items;
};

// The platform's accessibility value type numbers this program reads and writes.
inline constexpr std::int64_t axValueTypePoint = 1;
inline constexpr std::int64_t axValueTypeSize = 2;

// Nested arrays deeper than this read as other; an element's attribute never nests further.
inline constexpr int axArrayDepthLimit = 8;

// The interface's value: a boolean number as a boolean, any other number as its double value, a
// point or size value as a point or size (other value types, or one that could not be read, as
// other), an element (a null one as other), arrays element by element.
AccessibilityValue accessibilityValue(const AXObject& object);

// What to hand the platform for a value the program writes; absent for a value the platform has
// no form for (other, or an array holding one), which the bridge refuses with the illegal-argument
// code without calling the platform.
std::optional<AXObject> axObject(const AccessibilityValue& value);

}  // namespace turnlet::macos
