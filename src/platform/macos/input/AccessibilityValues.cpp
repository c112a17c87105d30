#include "macos/input/AccessibilityValues.h"

#include <type_traits>

namespace turnlet::macos {

namespace {

AccessibilityValue read(const AXObject& object, int depth) {
  using K = AXObject::Kind;
  switch (object.kind) {
    case K::text: return {object.text};
    case K::number:
      if (object.number.kind == NumberKind::boolean) return {object.number.signedValue != 0};
      if (object.number.kind == NumberKind::other) return {AccessibilityValue::Other{}};
      return {object.number.realValue};
    case K::axValue:
      if (!object.axValuePair) return {AccessibilityValue::Other{}};
      if (object.axValueType == axValueTypePoint) return {Point{object.axValuePair->first, object.axValuePair->second}};
      if (object.axValueType == axValueTypeSize) return {Size{object.axValuePair->first, object.axValuePair->second}};
      return {AccessibilityValue::Other{}};
    case K::element:
      if (!object.element) return {AccessibilityValue::Other{}};
      return {object.element};
    case K::array: {
      if (depth >= axArrayDepthLimit) return {AccessibilityValue::Other{}};
      std::vector<AccessibilityValue> items;
      items.reserve(object.items.size());
      for (const AXObject& item : object.items) items.push_back(read(item, depth + 1));
      return {std::move(items)};
    }
    case K::other: return {AccessibilityValue::Other{}};
  }
  return {AccessibilityValue::Other{}};
}

std::optional<AXObject> write(const AccessibilityValue& value, int depth) {
  AXObject object;
  using K = AXObject::Kind;
  bool representable = true;
  std::visit(
      [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
          object.kind = K::text;
          object.text = v;
        } else if constexpr (std::is_same_v<T, bool>) {
          object.kind = K::number;
          object.number = PlatformNumber{NumberKind::boolean, v ? 1 : 0, v ? 1u : 0u, v ? 1.0 : 0.0};
        } else if constexpr (std::is_same_v<T, double>) {
          object.kind = K::number;
          object.number = PlatformNumber{NumberKind::real, 0, 0, v};
        } else if constexpr (std::is_same_v<T, Point>) {
          object.kind = K::axValue;
          object.axValueType = axValueTypePoint;
          object.axValuePair = std::pair(v.x, v.y);
        } else if constexpr (std::is_same_v<T, Size>) {
          object.kind = K::axValue;
          object.axValueType = axValueTypeSize;
          object.axValuePair = std::pair(v.width, v.height);
        } else if constexpr (std::is_same_v<T, AccessibilityElementRef>) {
          object.kind = K::element;
          object.element = v;
          representable = v != nullptr;
        } else if constexpr (std::is_same_v<T, std::vector<AccessibilityValue>>) {
          object.kind = K::array;
          if (depth >= axArrayDepthLimit) representable = false;
          for (const AccessibilityValue& item : v) {
            if (!representable) break;
            std::optional<AXObject> written = write(item, depth + 1);
            if (!written) representable = false;
            else object.items.push_back(std::move(*written));
          }
        } else {
          representable = false;
        }
      },
      value.value);
  if (!representable) return std::nullopt;
  return object;
}

}  // namespace

AccessibilityValue accessibilityValue(const AXObject& object) { return read(object, 0); }

std::optional<AXObject> axObject(const AccessibilityValue& value) { return write(value, 0); }

}  // namespace turnlet::macos
