#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <variant>

#include "platform/Geometry.h"

namespace turnlet {

// A 64-bit mask of modifier flags as carried by pointer events; 0 is no flags.
using EventFlags = std::uint64_t;

enum class MouseButton : std::uint32_t { left = 0, right = 1 };

// The phases of a scroll; the order is the order of the platform's scroll and momentum phases.
enum class TouchScrollPhase { began, changed, ended, cancelled, momentumBegan, momentumChanged, momentumEnded };

// One pointer event to be posted, in source space (global display points). Equality compares the
// kind and every field exactly.
struct TouchAction {
  struct Move {
    Point point;
    EventFlags flags = 0;
    friend bool operator==(const Move&, const Move&) = default;
  };
  struct Down {
    Point point;
    MouseButton button = MouseButton::left;
    int clickCount = 1;
    EventFlags flags = 0;
    friend bool operator==(const Down&, const Down&) = default;
  };
  struct BeginDrag {
    Point point;
    EventFlags flags = 0;
    friend bool operator==(const BeginDrag&, const BeginDrag&) = default;
  };
  struct Drag {
    Point point;
    EventFlags flags = 0;
    friend bool operator==(const Drag&, const Drag&) = default;
  };
  struct Up {
    Point point;
    MouseButton button = MouseButton::left;
    int clickCount = 1;
    EventFlags flags = 0;
    friend bool operator==(const Up&, const Up&) = default;
  };
  struct Scroll {
    Point point;
    Size delta;  // source points
    EventFlags flags = 0;
    TouchScrollPhase phase = TouchScrollPhase::changed;
    friend bool operator==(const Scroll&, const Scroll&) = default;
  };

  std::variant<Move, Down, BeginDrag, Drag, Up, Scroll> value;

  static TouchAction move(Point point, EventFlags flags) { return {Move{point, flags}}; }
  static TouchAction down(Point point, MouseButton button, int clickCount, EventFlags flags) {
    return {Down{point, button, clickCount, flags}};
  }
  static TouchAction beginDrag(Point point, EventFlags flags) { return {BeginDrag{point, flags}}; }
  static TouchAction drag(Point point, EventFlags flags) { return {Drag{point, flags}}; }
  static TouchAction up(Point point, MouseButton button, int clickCount, EventFlags flags) {
    return {Up{point, button, clickCount, flags}};
  }
  static TouchAction scroll(Point point, Size delta, EventFlags flags, TouchScrollPhase phase) {
    return {Scroll{point, delta, flags, phase}};
  }

  friend bool operator==(const TouchAction&, const TouchAction&) = default;
};

std::string toString(TouchScrollPhase phase);
// A one-line description for diagnostics and test failure messages, e.g. "down((3, 4), right, 1, 0x0)".
std::string toString(const TouchAction& action);
std::ostream& operator<<(std::ostream& out, const TouchAction& action);

}  // namespace turnlet
