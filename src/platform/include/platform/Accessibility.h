#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/Geometry.h"
#include "platform/InputEvents.h"

namespace turnlet {

// An accessibility result code, the platform's numbers: 0 is success.
using AccessibilityError = std::int32_t;
inline constexpr AccessibilityError accessibilitySuccess = 0;
inline constexpr AccessibilityError accessibilityFailure = -25200;
inline constexpr AccessibilityError accessibilityIllegalArgument = -25201;
inline constexpr AccessibilityError accessibilityInvalidElement = -25202;
inline constexpr AccessibilityError accessibilityCannotComplete = -25204;
inline constexpr AccessibilityError accessibilityAttributeUnsupported = -25205;
inline constexpr AccessibilityError accessibilityActionUnsupported = -25206;
inline constexpr AccessibilityError accessibilityNoValue = -25212;
inline constexpr AccessibilityError accessibilityAPIDisabled = -25211;

// One element of another application's user interface. Elements are shared handles: two
// handles may stand for the same element. Whoever got one owns that handle.
class AccessibilityElement {
 public:
  virtual ~AccessibilityElement() = default;
};
using AccessibilityElementRef = std::shared_ptr<AccessibilityElement>;

// An attribute value, loosely typed as the platform hands it over: text, a boolean, a number, a
// point or size value, an element, an array of values, or anything else. A point value is what
// AXValueCreate makes from a point.
struct AccessibilityValue {
  struct Other {};
  std::variant<Other, std::string, bool, double, Point, Size, AccessibilityElementRef, std::vector<AccessibilityValue>>
      value;
};

// The accessibility interface. Each call returns the platform's result code; on failure the
// out-parameter is left unchanged. Main loop only, except setAttributeValue, which may be called
// from any thread (position writes run on a background queue); a call may block up to the
// element's messaging timeout.
class Accessibility {
 public:
  virtual ~Accessibility() = default;
  // Never fails; the element may not answer.
  virtual AccessibilityElementRef createApplication(ProcessID pid) = 0;
  virtual AccessibilityError setMessagingTimeout(const AccessibilityElementRef& element, float seconds) = 0;
  // The platform takes the position as single-precision numbers.
  virtual AccessibilityError copyElementAtPosition(const AccessibilityElementRef& application, float x, float y,
                                                   AccessibilityElementRef& element) = 0;
  virtual AccessibilityError getPid(const AccessibilityElementRef& element, ProcessID& pid) = 0;
  virtual AccessibilityError copyAttributeValue(const AccessibilityElementRef& element, const std::string& attribute,
                                                AccessibilityValue& value) = 0;
  virtual AccessibilityError isAttributeSettable(const AccessibilityElementRef& element, const std::string& attribute,
                                                 bool& settable) = 0;
  virtual AccessibilityError setAttributeValue(const AccessibilityElementRef& element, const std::string& attribute,
                                               const AccessibilityValue& value) = 0;
  // An array of text values, as the platform hands it over.
  virtual AccessibilityError copyActionNames(const AccessibilityElementRef& element, AccessibilityValue& names) = 0;
  virtual AccessibilityError performAction(const AccessibilityElementRef& element, const std::string& action) = 0;
};

}  // namespace turnlet
