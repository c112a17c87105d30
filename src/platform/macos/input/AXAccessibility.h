#pragma once

#include "platform/Accessibility.h"

namespace turnlet::macos {

// The accessibility interface over AXUIElement and AXValue. Every call returns the platform's
// result code unchanged; an element that this service did not make, or a value with no platform
// form, is refused with the illegal-argument code without reaching the platform. Elements hold one
// reference each. Apple documents no thread guarantee for elements: the program uses each element
// from one queue only (positions are written from the writer's own queue), see docs/macos.md.
class AXAccessibility final : public Accessibility {
 public:
  AccessibilityElementRef createApplication(ProcessID pid) override;
  AccessibilityError setMessagingTimeout(const AccessibilityElementRef& element, float seconds) override;
  AccessibilityError copyElementAtPosition(const AccessibilityElementRef& application, float x, float y,
                                           AccessibilityElementRef& element) override;
  AccessibilityError getPid(const AccessibilityElementRef& element, ProcessID& pid) override;
  AccessibilityError copyAttributeValue(const AccessibilityElementRef& element, const std::string& attribute,
                                        AccessibilityValue& value) override;
  AccessibilityError isAttributeSettable(const AccessibilityElementRef& element, const std::string& attribute,
                                         bool& settable) override;
  AccessibilityError setAttributeValue(const AccessibilityElementRef& element, const std::string& attribute,
                                       const AccessibilityValue& value) override;
  AccessibilityError copyActionNames(const AccessibilityElementRef& element, AccessibilityValue& names) override;
  AccessibilityError performAction(const AccessibilityElementRef& element, const std::string& action) override;
};

}  // namespace turnlet::macos
