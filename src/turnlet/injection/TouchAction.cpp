#include "injection/TouchAction.h"

#include <cstdio>
#include <ostream>

namespace turnlet {

namespace {

std::string describe(Point p) {
  char text[96];
  std::snprintf(text, sizeof text, "(%g, %g)", p.x, p.y);
  return text;
}

std::string describe(Size s) {
  char text[96];
  std::snprintf(text, sizeof text, "(%g, %g)", s.width, s.height);
  return text;
}

std::string describe(EventFlags flags) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(flags));
  return text;
}

std::string describe(MouseButton button) {
  switch (button) {
    case MouseButton::left: return "left";
    case MouseButton::right: return "right";
  }
  return "button " + std::to_string(static_cast<std::uint32_t>(button));
}

}  // namespace

std::string toString(TouchScrollPhase phase) {
  switch (phase) {
    case TouchScrollPhase::began: return "began";
    case TouchScrollPhase::changed: return "changed";
    case TouchScrollPhase::ended: return "ended";
    case TouchScrollPhase::cancelled: return "cancelled";
    case TouchScrollPhase::momentumBegan: return "momentumBegan";
    case TouchScrollPhase::momentumChanged: return "momentumChanged";
    case TouchScrollPhase::momentumEnded: return "momentumEnded";
  }
  return "unknown";
}

std::string toString(const TouchAction& action) {
  struct Describe {
    std::string operator()(const TouchAction::Move& a) const {
      return "move(" + describe(a.point) + ", " + describe(a.flags) + ")";
    }
    std::string operator()(const TouchAction::Down& a) const {
      return "down(" + describe(a.point) + ", " + describe(a.button) + ", " + std::to_string(a.clickCount) + ", " +
             describe(a.flags) + ")";
    }
    std::string operator()(const TouchAction::BeginDrag& a) const {
      return "beginDrag(" + describe(a.point) + ", " + describe(a.flags) + ")";
    }
    std::string operator()(const TouchAction::Drag& a) const {
      return "drag(" + describe(a.point) + ", " + describe(a.flags) + ")";
    }
    std::string operator()(const TouchAction::Up& a) const {
      return "up(" + describe(a.point) + ", " + describe(a.button) + ", " + std::to_string(a.clickCount) + ", " +
             describe(a.flags) + ")";
    }
    std::string operator()(const TouchAction::Scroll& a) const {
      return "scroll(" + describe(a.point) + ", " + describe(a.delta) + ", " + describe(a.flags) + ", " +
             toString(a.phase) + ")";
    }
  };
  return std::visit(Describe{}, action.value);
}

std::ostream& operator<<(std::ostream& out, const TouchAction& action) { return out << toString(action); }

}  // namespace turnlet
