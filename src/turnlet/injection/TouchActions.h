#pragma once

#include <functional>
#include <optional>

#include "injection/TouchAction.h"

namespace turnlet {

// The state machine between gesture recognition and event posting. Gestures call it with
// source-space points; it emits TouchAction values through `emit`, synchronously and in order.
//
// States, by which point is set: idle (none), holding (holdPoint: a long press that has not moved
// 6 points yet), dragging (dragPoint: the left button is down), scrolling (scrollPoint). Every
// begin (tap, beginHold, beginDrag, a starting scroll) first runs cancel(), which releases a
// pressed left button and cancels an open scroll, so no gesture leaves a button down or a scroll
// open behind it. While disabled, everything except cancel() and the cancelling branch of
// endHold does nothing. Points or deltas with a NaN or infinite component are refused. Main loop
// only; owned by the touch controller.
class TouchActions {
 public:
  using Emit = std::function<void(const TouchAction&)>;

  // A long press becomes a drag once the finger is this far from the press point.
  static constexpr double holdDragDistancePoints = 6;

  explicit TouchActions(Emit emit);
  TouchActions(const TouchActions&) = delete;
  TouchActions& operator=(const TouchActions&) = delete;

  bool isEnabled() const { return enabled; }
  void setEnabled(bool isEnabled) { enabled = isEnabled; }

  void beginDrag(Point point, EventFlags flags);
  void moveDrag(Point point, EventFlags flags);
  // Releases at point when it is given and finite, else at the last drag point.
  void endDrag(std::optional<Point> point, EventFlags flags);
  void moveHold(Point point, EventFlags flags);
  void endHold(Point point, EventFlags flags);
  void scroll(Point point, Size delta, EventFlags flags, TouchScrollPhase phase);

  void cancel();
  void beginHold(Point point);
  void tap(Point point, int count, EventFlags flags);

  std::optional<Point> dragPoint() const { return drag; }
  std::optional<Point> holdPoint() const { return hold; }
  std::optional<Point> scrollPoint() const { return scrolling; }
  EventFlags scrollFlags() const { return lastScrollFlags; }

 private:
  Emit emit;
  bool enabled = false;
  std::optional<Point> drag;
  std::optional<Point> hold;
  std::optional<Point> scrolling;
  EventFlags lastScrollFlags = 0;
};

}  // namespace turnlet
