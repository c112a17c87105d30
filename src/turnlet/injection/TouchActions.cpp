#include "injection/TouchActions.h"

#include <cmath>
#include <utility>

namespace turnlet {

namespace {

bool isValid(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }
bool isValid(Size s) { return std::isfinite(s.width) && std::isfinite(s.height); }

}  // namespace

TouchActions::TouchActions(Emit emit) : emit(std::move(emit)) {}

void TouchActions::cancel() {
  // Clear first: a recipient that calls back in sees the idle state.
  const std::optional<Point> releasedDrag = std::exchange(drag, std::nullopt);
  const std::optional<Point> cancelledScroll = std::exchange(scrolling, std::nullopt);
  hold.reset();
  if (releasedDrag) emit(TouchAction::up(*releasedDrag, MouseButton::left, 1, 0));
  if (cancelledScroll) emit(TouchAction::scroll(*cancelledScroll, Size{0, 0}, lastScrollFlags, TouchScrollPhase::cancelled));
}

void TouchActions::beginHold(Point point) {
  if (!enabled || !isValid(point)) return;
  cancel();
  hold = point;
}

void TouchActions::tap(Point point, int count, EventFlags flags) {
  if (!enabled || !isValid(point) || count < 1) return;
  cancel();
  emit(TouchAction::move(point, flags));
  emit(TouchAction::down(point, MouseButton::left, count, flags));
  emit(TouchAction::up(point, MouseButton::left, count, flags));
}

void TouchActions::beginDrag(Point point, EventFlags flags) {
  if (!enabled || !isValid(point)) return;
  cancel();
  emit(TouchAction::move(point, flags));
  emit(TouchAction::beginDrag(point, flags));
  drag = point;
}

void TouchActions::moveDrag(Point point, EventFlags flags) {
  if (!enabled || !drag || !isValid(point) || point == *drag) return;
  emit(TouchAction::drag(point, flags));
  drag = point;
}

void TouchActions::endDrag(std::optional<Point> point, EventFlags flags) {
  if (!enabled || !drag) return;
  const Point release = point && isValid(*point) ? *point : *drag;
  drag.reset();
  emit(TouchAction::up(release, MouseButton::left, 1, flags));
}

void TouchActions::moveHold(Point point, EventFlags flags) {
  if (!enabled || !isValid(point)) return;
  if (!drag) {
    if (!hold) return;
    if (std::hypot(point.x - hold->x, point.y - hold->y) < holdDragDistancePoints) return;
    beginDrag(*hold, flags);
  }
  moveDrag(point, flags);
}

void TouchActions::endHold(Point point, EventFlags flags) {
  if (!enabled || !isValid(point)) {
    cancel();
    return;
  }
  if (drag) {
    moveDrag(point, flags);
    endDrag(point, flags);
  } else if (hold) {
    const std::optional<Point> cancelledScroll = std::exchange(scrolling, std::nullopt);
    hold.reset();
    if (cancelledScroll)
      emit(TouchAction::scroll(*cancelledScroll, Size{0, 0}, lastScrollFlags, TouchScrollPhase::cancelled));
    emit(TouchAction::move(point, flags));
    emit(TouchAction::down(point, MouseButton::right, 1, flags));
    emit(TouchAction::up(point, MouseButton::right, 1, flags));
  }
  hold.reset();
}

void TouchActions::scroll(Point point, Size delta, EventFlags flags, TouchScrollPhase phase) {
  if (!enabled || !isValid(point) || !isValid(delta)) return;
  const bool starts =
      phase == TouchScrollPhase::began || (phase == TouchScrollPhase::changed && !scrolling);
  if (starts) {
    cancel();
    emit(TouchAction::move(point, flags));
  }
  scrolling = point;
  lastScrollFlags = flags;
  emit(TouchAction::scroll(point, delta, flags, phase));
  if (phase == TouchScrollPhase::ended || phase == TouchScrollPhase::cancelled ||
      phase == TouchScrollPhase::momentumEnded)
    scrolling.reset();
}

}  // namespace turnlet
