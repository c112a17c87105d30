#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Accessibility.h"
#include "platform/MainLoop.h"
#include "sim/world/WindowServer.h"

namespace turnlet::sim {

// Accessibility over the simulated applications: each application element has "AXWindows"; each
// window answers "AXRole" "AXWindow", "AXPosition" (settable unless the window says otherwise),
// "AXSize" and "AXParent" and performs "AXRaise" (to the front of its layer); each element its
// role, "AXEnabled", "AXParent", its actions, and performs "AXPress". Writing a window's position moves it in the window server after
// positionWriteDelay seconds of the loop's clock.
//
// Main loop only, except setAttributeValue and the write observations, which any thread may use.
class SimAccessibility : public Accessibility {
 public:
  SimAccessibility(MainLoop& loop, WindowServer& server) : loop(loop), server(server) {}

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

  // Faults. A call named here ("copyElementAtPosition", "getPid", "copyAttributeValue",
  // "copyAttributeValue AXWindows" for one attribute, "isAttributeSettable", "copyActionNames",
  // "performAction") answers with that code.
  std::map<std::string, AccessibilityError> failing;
  // An attribute answered with this value by every element (a malformed answer).
  std::map<std::string, AccessibilityValue> replaced;
  bool nullElement = false;             // the element at a position is a success without element
  std::optional<ProcessID> wrongPid;    // every element reports this process id
  std::optional<AccessibilityValue> actionNames;  // every element offers these action names
  std::atomic<AccessibilityError> failWrites{accessibilitySuccess};
  std::atomic<double> positionWriteDelay{0};
  std::function<void()> duringWrite;  // runs inside each write, outside any lock; set before writes

  // Observations.
  struct PositionWrite {
    WindowNumber window;
    Point position;
    double at = 0;  // the loop's clock when the write was made
  };
  std::vector<PositionWrite> writes() const;
  std::vector<float> timeouts;

 private:
  AccessibilityError failure(const std::string& call) const;

  MainLoop& loop;
  WindowServer& server;
  mutable std::mutex mutex;
  std::vector<PositionWrite> written;
};

}  // namespace turnlet::sim
