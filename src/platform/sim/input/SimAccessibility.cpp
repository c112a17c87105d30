#include "sim/input/SimAccessibility.h"

namespace turnlet::sim {

namespace {

// What an element handle stands for: an application (window 0), a window (index -1) or an
// element of a window.
struct SimAXElement : AccessibilityElement {
  SimAXElement(ProcessID pid, WindowNumber window, int index) : pid(pid), window(window), index(index) {}
  ProcessID pid;
  WindowNumber window;
  int index;
};

const SimAXElement* simElement(const AccessibilityElementRef& element) {
  return dynamic_cast<const SimAXElement*>(element.get());
}

Rect absolute(const SimAppWindow& w, const SimElement& e) {
  return Rect(w.bounds.minX() + e.frame.origin.x, w.bounds.minY() + e.frame.origin.y, e.frame.size.width,
              e.frame.size.height);
}

}  // namespace

AccessibilityError SimAccessibility::failure(const std::string& call) const {
  auto it = failing.find(call);
  return it == failing.end() ? accessibilitySuccess : it->second;
}

AccessibilityElementRef SimAccessibility::createApplication(ProcessID pid) {
  return std::make_shared<SimAXElement>(pid, 0, -1);
}

AccessibilityError SimAccessibility::setMessagingTimeout(const AccessibilityElementRef& element, float seconds) {
  if (!simElement(element)) return accessibilityIllegalArgument;
  timeouts.push_back(seconds);
  return accessibilitySuccess;
}

AccessibilityError SimAccessibility::copyElementAtPosition(const AccessibilityElementRef& application, float x,
                                                           float y, AccessibilityElementRef& element) {
  if (auto e = failure("copyElementAtPosition")) return e;
  const SimAXElement* app = simElement(application);
  const SimApplication* owner = app ? server.application(app->pid) : nullptr;
  if (!owner || app->window != 0) return accessibilityInvalidElement;
  if (nullElement) {
    element = nullptr;
    return accessibilitySuccess;
  }
  const Point p{x, y};
  for (const auto& w : owner->windows) {
    if (!w.onScreen || !w.bounds.contains(p)) continue;
    for (int i = int(w.elements.size()) - 1; i >= 0; --i) {
      if (absolute(w, w.elements[i]).contains(p)) {
        element = std::make_shared<SimAXElement>(owner->pid, w.number, i);
        return accessibilitySuccess;
      }
    }
    element = std::make_shared<SimAXElement>(owner->pid, w.number, -1);
    return accessibilitySuccess;
  }
  return accessibilityNoValue;
}

AccessibilityError SimAccessibility::getPid(const AccessibilityElementRef& element, ProcessID& pid) {
  if (auto e = failure("getPid")) return e;
  const SimAXElement* s = simElement(element);
  if (!s) return accessibilityIllegalArgument;
  pid = wrongPid.value_or(s->pid);
  return accessibilitySuccess;
}

AccessibilityError SimAccessibility::copyAttributeValue(const AccessibilityElementRef& element,
                                                        const std::string& attribute, AccessibilityValue& value) {
  if (auto e = failure("copyAttributeValue")) return e;
  if (auto e = failure("copyAttributeValue " + attribute)) return e;
  const SimAXElement* s = simElement(element);
  if (!s) return accessibilityIllegalArgument;
  if (auto it = replaced.find(attribute); it != replaced.end()) {
    value = it->second;
    return accessibilitySuccess;
  }
  SimApplication* app = server.application(s->pid);
  if (!app) return accessibilityInvalidElement;
  if (s->window == 0) {
    if (attribute == "AXRole") {
      value.value = std::string("AXApplication");
    } else if (attribute == "AXWindows") {
      std::vector<AccessibilityValue> list;
      for (const auto& w : app->windows)
        if (w.onScreen) list.push_back({std::make_shared<SimAXElement>(app->pid, w.number, -1)});
      value.value = std::move(list);
    } else {
      return accessibilityNoValue;
    }
    return accessibilitySuccess;
  }
  SimAppWindow* w = server.appWindow(s->window);
  if (!w || s->index >= int(w->elements.size())) return accessibilityInvalidElement;
  if (s->index < 0) {
    if (attribute == "AXRole") value.value = std::string("AXWindow");
    else if (attribute == "AXPosition") value.value = w->bounds.origin;
    else if (attribute == "AXSize") value.value = w->bounds.size;
    else if (attribute == "AXParent") value.value = AccessibilityElementRef(std::make_shared<SimAXElement>(app->pid, 0, -1));
    else if (attribute == "AXTitle") value.value = w->title;
    else return accessibilityAttributeUnsupported;
    return accessibilitySuccess;
  }
  const SimElement& e = w->elements[s->index];
  if (attribute == "AXRole") value.value = e.role;
  else if (attribute == "AXEnabled") value.value = e.enabled;
  else if (attribute == "AXPosition") value.value = absolute(*w, e).origin;
  else if (attribute == "AXSize") value.value = e.frame.size;
  else if (attribute == "AXParent") value.value = AccessibilityElementRef(std::make_shared<SimAXElement>(app->pid, w->number, e.parent));
  else return accessibilityAttributeUnsupported;
  return accessibilitySuccess;
}

AccessibilityError SimAccessibility::isAttributeSettable(const AccessibilityElementRef& element,
                                                         const std::string& attribute, bool& settable) {
  if (auto e = failure("isAttributeSettable")) return e;
  const SimAXElement* s = simElement(element);
  if (!s) return accessibilityIllegalArgument;
  SimAppWindow* w = s->window ? server.appWindow(s->window) : nullptr;
  if (s->window && !w) return accessibilityInvalidElement;
  settable = w && s->index < 0 && attribute == "AXPosition" && w->positionSettable;
  return accessibilitySuccess;
}

AccessibilityError SimAccessibility::setAttributeValue(const AccessibilityElementRef& element,
                                                       const std::string& attribute, const AccessibilityValue& value) {
  if (duringWrite) duringWrite();
  if (auto e = failWrites.load()) return e;
  const SimAXElement* s = simElement(element);
  const Point* position = std::get_if<Point>(&value.value);
  if (!s || s->window == 0 || s->index >= 0 || attribute != "AXPosition" || !position)
    return accessibilityIllegalArgument;
  {
    std::lock_guard lock(mutex);
    written.push_back({s->window, *position, loop.now()});
  }
  // The window moves on the main loop, later when a delay is set.
  loop.post([this, number = s->window, p = *position, delay = positionWriteDelay.load()] {
    auto apply = [this, number, p] {
      if (SimAppWindow* w = server.appWindow(number); w && w->positionSettable) w->bounds.origin = p;
    };
    if (delay > 0) {
      loop.schedule(delay, apply);
    } else {
      apply();
    }
  });
  return accessibilitySuccess;
}

AccessibilityError SimAccessibility::copyActionNames(const AccessibilityElementRef& element, AccessibilityValue& names) {
  if (auto e = failure("copyActionNames")) return e;
  const SimAXElement* s = simElement(element);
  if (!s) return accessibilityIllegalArgument;
  if (actionNames) {
    names = *actionNames;
    return accessibilitySuccess;
  }
  std::vector<AccessibilityValue> list;
  SimAppWindow* w = s->window ? server.appWindow(s->window) : nullptr;
  if (w && s->index < 0) list.push_back({std::string("AXRaise")});
  if (w && s->index >= 0 && s->index < int(w->elements.size()))
    for (const auto& a : w->elements[s->index].actions) list.push_back({a});
  names.value = std::move(list);
  return accessibilitySuccess;
}

AccessibilityError SimAccessibility::performAction(const AccessibilityElementRef& element, const std::string& action) {
  if (auto e = failure("performAction")) return e;
  const SimAXElement* s = simElement(element);
  SimAppWindow* w = s && s->window ? server.appWindow(s->window) : nullptr;
  if (w && s->index < 0 && action == "AXRaise") {
    server.raiseAppWindow(w->number);
    return accessibilitySuccess;
  }
  if (!w || s->index < 0 || s->index >= int(w->elements.size())) return accessibilityActionUnsupported;
  SimElement& e = w->elements[s->index];
  for (const auto& a : e.actions) {
    if (a == action) {
      ++e.presses;
      return accessibilitySuccess;
    }
  }
  return accessibilityActionUnsupported;
}

std::vector<SimAccessibility::PositionWrite> SimAccessibility::writes() const {
  std::lock_guard lock(mutex);
  return written;
}

}  // namespace turnlet::sim
