#include "injection/TouchEventPoster.h"

#include <cmath>

#include "display/AppFailure.h"

namespace turnlet {

namespace {

const char* const unavailable = "Window-targeted touch delivery is unavailable on this macOS version.";

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

Point pointOf(const TouchAction& action) {
  return std::visit([](const auto& a) { return a.point; }, action.value);
}

EventFlags flagsOf(const TouchAction& action) {
  return std::visit([](const auto& a) { return a.flags; }, action.value);
}

bool isFinite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

std::optional<std::int32_t> wheelDelta(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double whole = std::round(value);
  if (whole < std::numeric_limits<std::int32_t>::min() || whole > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(whole);
}

TouchEventPoster::TouchEventPoster(Operations operations, InputEvents& events, LibraryLoader& libraries)
    : events(events), ops(std::move(operations)) {
  source = ops.sourceFactory ? ops.sourceFactory() : events.createEventSource(EventSourceState::privateState);
  if (!source) throw AppFailure("macOS could not create the touch event source.");
  library = libraries.open(coreGraphicsPath, libraryLoadLazy | libraryLoadLocal);
  if (!library) throw AppFailure(unavailable);
  auto setter = events.windowLocationSetter(*library, windowLocationSymbol);
  if (!setter) {
    library.reset();
    throw AppFailure(unavailable);
  }
  setWindowLocation = std::move(*setter);
  if (!ops.deliver) ops.deliver = [&events](InputEvent& event, ProcessID pid) { events.postToPid(pid, event); };
  source->setLocalEventsSuppressionInterval(0);
  constexpr std::uint32_t permitAll = eventFilterMaskPermitLocalMouse | eventFilterMaskPermitLocalKeyboard |
                                      eventFilterMaskPermitSystemDefinedEvents;
  source->setLocalEventsFilterDuringSuppressionState(permitAll, EventSuppressionState::suppressionInterval);
  source->setLocalEventsFilterDuringSuppressionState(permitAll, EventSuppressionState::remoteMouseDrag);
}

void TouchEventPoster::post(const TouchAction& action) {
  std::visit(Overloaded{[&](const TouchAction::Move& a) { onMove(a, action); },
                        [&](const TouchAction::Down& a) { onDown(a, action); },
                        [&](const TouchAction::BeginDrag& a) { onBeginDrag(a, action); },
                        [&](const TouchAction::Drag& a) { onDrag(a, action); },
                        [&](const TouchAction::Up& a) { onUp(a, action); },
                        [&](const TouchAction::Scroll& a) { onScroll(a, action); }},
             action.value);
}

void TouchEventPoster::postTo(const TouchAction& action, const TouchWindowTarget& target) {
  if (auto event = make(action, target)) ops.deliver(*event, target.pid);
}

std::optional<TouchWindowTarget> TouchEventPoster::hoverRule(Point point) {
  if (hoverPoint && *hoverPoint == point && hoverTarget) return hoverTarget;
  return ops.resolveTarget(point);
}

void TouchEventPoster::onMove(const TouchAction::Move& a, const TouchAction& action) {
  hoverPoint = a.point;
  hoverTarget = ops.resolveTarget(a.point);
  if (hoverTarget) postTo(action, *hoverTarget);
}

void TouchEventPoster::onDown(const TouchAction::Down& a, const TouchAction& action) {
  heldTarget = hoverRule(a.point);
  heldTargetLastRefresh = ops.now();
  consumedPress = false;
  if (!heldTarget) return;
  if (a.button == MouseButton::left && a.clickCount == 1 && (a.flags & commandKeysMask) == 0 &&
      ops.pressControl(a.point, *heldTarget)) {
    consumedPress = true;
    return;
  }
  postTo(action, *heldTarget);
}

void TouchEventPoster::onBeginDrag(const TouchAction::BeginDrag& a, const TouchAction& action) {
  heldTarget = hoverRule(a.point);
  heldTargetLastRefresh = ops.now();
  consumedPress = false;
  if (!heldTarget) return;
  windowMove = ops.beginWindowMove(a.point, *heldTarget);
  if (!windowMove) postTo(action, *heldTarget);
}

void TouchEventPoster::onDrag(const TouchAction::Drag& a, const TouchAction& action) {
  if (windowMove) {
    windowMove->update(a.point);
    return;
  }
  if (!heldTarget) return;
  const double now = ops.now();
  if (now - heldTargetLastRefresh < dragRefreshInterval) {
    postTo(action, *heldTarget);
    return;
  }
  auto refreshed = ops.refreshTarget(*heldTarget);
  heldTargetLastRefresh = now;
  if (!refreshed) return;
  heldTarget = refreshed;
  postTo(action, *heldTarget);
}

void TouchEventPoster::onUp(const TouchAction::Up& a, const TouchAction& action) {
  if (!windowMove && !consumedPress && heldTarget) {
    auto refreshed = ops.refreshTarget(*heldTarget);
    postTo(action, refreshed ? *refreshed : *heldTarget);
  }
  heldTarget.reset();
  heldTargetLastRefresh = never;
  if (auto move = std::exchange(windowMove, nullptr)) move->finish(a.point);
  consumedPress = false;
  hoverTarget.reset();
  hoverPoint.reset();
}

void TouchEventPoster::endScrollSession() {
  scrollTarget.reset();
  scrollSessionActive = false;
  scrollRemainder = {};
  scrollTargetLastRefresh = never;
}

void TouchEventPoster::onScroll(const TouchAction::Scroll& a, const TouchAction& action) {
  const double t0 = ops.now();
  if (a.phase == TouchScrollPhase::began) {
    endScrollSession();
    scrollSessionActive = true;
    scrollTarget = hoverRule(a.point);
    scrollTargetLastRefresh = t0;
  } else if (a.phase != TouchScrollPhase::cancelled) {
    if (!scrollSessionActive) {
      scrollSessionActive = true;
      scrollTarget = hoverRule(a.point);
      scrollTargetLastRefresh = t0;
    } else if (scrollTarget && t0 - scrollTargetLastRefresh >= scrollRefreshInterval) {
      scrollTarget = ops.refreshTarget(*scrollTarget);
      scrollTargetLastRefresh = t0;
    }
  }
  if (scrollTarget) {
    const Size total{scrollRemainder.width + a.delta.width, scrollRemainder.height + a.delta.height};
    const Size whole{std::trunc(total.width), std::trunc(total.height)};
    scrollRemainder = Size{total.width - whole.width, total.height - whole.height};
    const bool quiet = a.phase == TouchScrollPhase::changed || a.phase == TouchScrollPhase::momentumChanged;
    if (!(quiet && whole == Size{0, 0}))
      postTo(TouchAction::scroll(a.point, whole, a.flags, a.phase), *scrollTarget);
  }
  if (a.phase == TouchScrollPhase::cancelled || a.phase == TouchScrollPhase::momentumEnded) endScrollSession();
  (void)action;
}

std::unique_ptr<InputEvent> TouchEventPoster::make(const TouchAction& action, const TouchWindowTarget& t) {
  const Point p = pointOf(action);
  const EventFlags flags = flagsOf(action);
  const Point w{p.x - t.bounds.minX(), t.bounds.maxY() - p.y};
  // The platform is never handed a point it cannot place, whatever the caller let through.
  if (!isFinite(p) || !isFinite(w)) return nullptr;
  const double timestamp = ops.now();
  std::unique_ptr<InputEvent> event;

  auto mouse = [&](MouseEventType type, std::int64_t clickCount, float pressure, std::int64_t button) {
    event = events.mouseEvent(type, w, flags, timestamp, t.id, clickCount, pressure);
    if (event) event->setIntegerValueField(EventField::mouseEventButtonNumber, button);
  };
  std::visit(Overloaded{
                 [&](const TouchAction::Move&) { mouse(MouseEventType::mouseMoved, 0, 0, 0); },
                 [&](const TouchAction::BeginDrag&) { mouse(MouseEventType::leftMouseDown, 1, 1, 0); },
                 [&](const TouchAction::Drag&) { mouse(MouseEventType::leftMouseDragged, 1, 1, 0); },
                 [&](const TouchAction::Down& a) {
                   if (a.button == MouseButton::left) {
                     mouse(MouseEventType::leftMouseDown, a.clickCount, 1, 0);
                   } else {
                     mouse(MouseEventType::rightMouseDown, a.clickCount, 0, 1);
                   }
                 },
                 [&](const TouchAction::Up& a) {
                   if (a.button == MouseButton::left) {
                     mouse(MouseEventType::leftMouseUp, a.clickCount, 0, 0);
                   } else {
                     mouse(MouseEventType::rightMouseUp, a.clickCount, 0, 1);
                   }
                 },
                 [&](const TouchAction::Scroll& a) {
                   auto wheel1 = wheelDelta(a.delta.height);
                   auto wheel2 = wheelDelta(-a.delta.width);
                   if (!wheel1 || !wheel2) return;
                   event = events.createScrollWheelEvent2(source, ScrollEventUnit::pixel, 2, *wheel1, *wheel2, 0);
                   if (!event) return;
                   static constexpr std::int64_t scrollPhase[] = {1, 2, 4, 8, 0, 0, 0};
                   static constexpr std::int64_t momentumPhase[] = {0, 0, 0, 0, 1, 2, 3};
                   const auto index = static_cast<std::size_t>(a.phase);
                   event->setIntegerValueField(EventField::scrollWheelEventIsContinuous, 1);
                   event->setIntegerValueField(EventField::scrollWheelEventScrollPhase, scrollPhase[index]);
                   event->setIntegerValueField(EventField::scrollWheelEventMomentumPhase, momentumPhase[index]);
                 }},
             action.value);
  if (!event) return nullptr;
  event->setSource(source);
  event->setFlags(flags);
  event->setLocation(p);
  setWindowLocation(*event, w);
  event->setIntegerValueField(EventField::targetUnixProcessID, t.pid);
  event->setIntegerValueField(EventField::windowNumber, t.id);
  event->setIntegerValueField(EventField::windowUnderMousePointer, t.id);
  event->setIntegerValueField(EventField::windowUnderMousePointerThatCanHandleThisEvent, t.id);
  return event;
}

}  // namespace turnlet
