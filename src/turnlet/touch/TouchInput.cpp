#include "touch/TouchInput.h"

#include <algorithm>
#include <cmath>

#include "display/AppFailure.h"
#include "touch/DirectTouchTapRecognizer.h"
#include "touch/TouchGeometry.h"

namespace turnlet {

namespace {

constexpr const char* logSubsystem = "local.turnlet.app";
constexpr const char* logCategory = "Touch";

EventFlags flagsOf(const GestureRecognizer& recognizer) { return recognizer.modifierFlags() & deviceIndependentFlagsMask; }

}  // namespace

TouchInput::Factory TouchInput::factory(TouchServices services) {
  return [services](GpuView& view, DisplayID sourceID, DisplayID targetID,
                    QuarterTurn rotation) -> std::shared_ptr<TouchInputControl> {
    auto touchView = view.touchView();
    if (!touchView) return nullptr;
    return make(touchView, sourceID, targetID, rotation, services);
  };
}

std::shared_ptr<TouchInput> TouchInput::make(std::weak_ptr<TouchView> view, DisplayID sourceID, DisplayID targetID,
                                             QuarterTurn rotation, TouchServices services) {
  auto input = std::make_shared<TouchInput>(Passkey{}, std::move(view), sourceID, targetID, rotation, services);
  input->install();
  return input;
}

TouchInput::TouchInput(Passkey, std::weak_ptr<TouchView> view, DisplayID sourceID, DisplayID targetID,
                       QuarterTurn rotation, TouchServices services)
    : services(services), view(std::move(view)), sourceID(sourceID), targetID(targetID), rotation(rotation) {
  if (!services.system.isOperatingSystemAtLeast(27, 0, 0))
    throw AppFailure("Finger touch requires macOS 27 and iPadOS 27.");
  motionGroup = std::make_shared<TouchMotionGroup>(
      WindowMoveServices{services.queues, services.loop, services.accessibility});
  const DisplayID source = sourceID;
  TouchServices s = services;
  std::weak_ptr<TouchMotionGroup> group = motionGroup;
  auto poster = std::make_shared<TouchEventPoster>(
      TouchEventPoster::Operations{
          [s, source](Point p) { return TouchWindowTarget::frontmost(p, source, s.displays, s.windowList); },
          [s](const TouchWindowTarget& t) { return TouchWindowTarget::refreshed(t.id, t.pid, s.windowList); },
          [s](Point p, const TouchWindowTarget& t) { return TouchAccessibility::press(p, t, s.accessibility); },
          [group](Point p, const TouchWindowTarget& t) -> std::shared_ptr<TouchWindowMove> {
            auto g = group.lock();
            return g ? g->begin(p, t) : nullptr;
          },
          [s] { return s.loop.now(); }},
      services.events, services.libraries);
  sourceBounds = services.displays.bounds(sourceID);
  actions = std::make_unique<TouchActions>([poster](const TouchAction& a) { poster->post(a); });
}

TouchInput::~TouchInput() = default;

GestureRecognizers::Action TouchInput::action(void (TouchInput::*member)(GestureRecognizer&)) {
  return [weak = weak_from_this(), member](GestureRecognizer& recognizer) {
    if (auto self = weak.lock()) ((*self).*member)(recognizer);
  };
}

void TouchInput::install() {
  screenObserver = services.displays.addScreenParametersObserver([weak = weak_from_this()] {
    if (auto self = weak.lock()) self->screenParametersChanged();
  });
  auto tap = DirectTouchTapRecognizer::make(services.recognizers, action(&TouchInput::tapped));
  swipeRecognizer = services.recognizers.makePan(action(&TouchInput::scrolled));
  swipeRecognizer->setMinimumNumberOfTouches(1);
  swipeRecognizer->setMaximumNumberOfTouches(1);
  auto twoFinger = services.recognizers.makePan(action(&TouchInput::scrolled));
  twoFinger->setMinimumNumberOfTouches(2);
  twoFinger->setMaximumNumberOfTouches(2);
  auto press = services.recognizers.makePress(action(&TouchInput::pressed));
  press->setMinimumPressDuration(pressDuration);
  press->setNumberOfTouchesRequired(1);
  if (auto v = view.lock()) {
    previousTouchTypes = v->allowedTouchTypes();
    v->setAllowedTouchTypes(touchTypeMaskDirect);
  }
  recognizers = {tap, swipeRecognizer, twoFinger, press};
  auto v = view.lock();
  for (const auto& r : recognizers) {
    r->setAllowedTouchTypes(touchTypeMaskDirect);
    r->setDelegate(weak_from_this());
    if (v) v->addGestureRecognizer(r);
  }
  actions->setEnabled(true);
}

void TouchInput::stop() {
  if (stopped) return;
  stopped = true;
  cancelMomentum();
  motionGroup->cancelAll();
  cancelDirectMove();
  if (screenObserver) services.displays.removeScreenParametersObserver(*screenObserver);
  screenObserver.reset();
  actions->cancel();
  actions->setEnabled(false);
  auto v = view.lock();
  for (const auto& r : std::exchange(recognizers, {})) {
    r->setEnabled(false);
    if (v) v->removeGestureRecognizer(r);
  }
  swipeRecognizer.reset();
  if (v) v->setAllowedTouchTypes(previousTouchTypes);
  motionStop = spawn(services.loop, [group = motionGroup]() -> Task<void> { co_await group->waitForIdle(); });
}

std::optional<Rect> TouchInput::contentBounds() const {
  auto v = view.lock();
  if (!v) return std::nullopt;
  return TouchGeometry::contentBounds(v->bounds(), sourceBounds, rotation);
}

std::optional<Point> TouchInput::point(Point location) const {
  auto v = view.lock();
  if (!v) return std::nullopt;
  return TouchGeometry::point(location, v->bounds(), v->isFlipped() ? ViewCoordinates::flipped : ViewCoordinates::unflipped,
                              sourceBounds, rotation);
}

std::optional<Point> TouchInput::mappedLocation(const GestureRecognizer& recognizer) const {
  return point(recognizer.locationInView());
}

bool TouchInput::available(bool checkAccess) {
  auto v = view.lock();
  if (stopped || !v || !v->isInWindow()) {
    actions->cancel();
    return false;
  }
  if (checkAccess) {
    geometryIsValid = refreshGeometry();
    if (!services.permissions.preflightPostEventAccess()) {
      actions->cancel();
      if (onAccessLost) onAccessLost();
      return false;
    }
  }
  if (geometryIsValid) return true;
  actions->cancel();
  return false;
}

bool TouchInput::refreshGeometry() {
  DisplayServices& d = services.displays;
  if (!d.isOnline(sourceID) || !d.isOnline(targetID) || d.vendorNumber(sourceID) != virtualDisplayVendor) return false;
  auto v = view.lock();
  if (!v || !v->isInWindow() || v->windowScreenNumber() != std::optional<std::int64_t>(targetID)) return false;
  const Rect bounds = d.bounds(sourceID);
  sourceBounds = bounds;
  return bounds.size.width > 0 && bounds.size.height > 0;
}

void TouchInput::screenParametersChanged() {
  cancelMomentum();
  motionGroup->cancelAll();
  cancelDirectMove();
  actions->cancel();
  geometryIsValid = refreshGeometry();
}

void TouchInput::cancelDirectMove() {
  if (auto move = std::exchange(directWindowMove, nullptr)) move->cancel();
}

bool TouchInput::shouldAttemptToRecognize(GestureRecognizer&, const TouchEvent& event) {
  if (stopped) return false;
  if (event.type() == eventTypeDirectTouch) return true;
  if (event.type() != eventTypeGesture) return false;
  for (const auto& touch : event.touches(touchPhaseAny))
    if (touch.type == TouchType::direct) return true;
  return false;
}

bool TouchInput::shouldReceiveTouch(GestureRecognizer&, const Touch& touch) {
  if (stopped || touch.type != TouchType::direct) return false;
  if (momentum) services.log.info(logSubsystem, logCategory, "Finger contact interrupted momentum");
  cancelMomentum();
  motionGroup->cancelAll(true);
  return true;
}

bool TouchInput::shouldBegin(GestureRecognizer& recognizer) {
  cancelMomentum();
  return available(true) && !view.expired() && mappedLocation(recognizer).has_value();
}

void TouchInput::tapped(GestureRecognizer& recognizer) {
  cancelMomentum();
  if (recognizer.state() != GestureState::ended) return;
  if (!available(false) || view.expired()) return;
  auto p = mappedLocation(recognizer);
  if (!p) return;
  services.log.info(logSubsystem, logCategory, "Direct finger tap recognized");
  const double now = services.loop.now();
  if (lastTapPoint && now - lastTapTime < services.events.doubleClickInterval() &&
      std::hypot(p->x - lastTapPoint->x, p->y - lastTapPoint->y) < tapSlop) {
    tapCount = std::min(tapCount + 1, 3);
  } else {
    tapCount = 1;
  }
  lastTapPoint = *p;
  lastTapTime = now;
  actions->tap(*p, tapCount, flagsOf(recognizer));
}

void TouchInput::pressed(GestureRecognizer& recognizer) {
  const EventFlags flags = flagsOf(recognizer);
  switch (recognizer.state()) {
    case GestureState::began:
      cancelMomentum();
      lastTapPoint.reset();
      if (available(false))
        if (auto p = mappedLocation(recognizer)) actions->beginHold(*p);
      break;
    case GestureState::changed:
      if (auto p = available(false) ? mappedLocation(recognizer) : std::nullopt) {
        actions->moveHold(*p, flags);
      } else {
        actions->cancel();
      }
      break;
    case GestureState::ended:
      if (auto p = available(false) ? mappedLocation(recognizer) : std::nullopt) {
        actions->endHold(*p, flags);
      } else {
        actions->cancel();
      }
      break;
    case GestureState::cancelled:
    case GestureState::failed:
      actions->cancel();
      break;
    case GestureState::possible:
      break;
  }
}

std::optional<Size> TouchInput::viewDeltaToSource(Point viewDelta, const TouchView& v) const {
  auto content = contentBounds();
  if (!content) return std::nullopt;
  const Size delta{viewDelta.x, v.isFlipped() ? -viewDelta.y : viewDelta.y};
  return TouchGeometry::sourceDelta(delta, *content, sourceBounds, rotation);
}

void TouchInput::scrollUpdate(PanGestureRecognizer& pan, TouchView& v, EventFlags flags) {
  const Point t = pan.translationInView();
  auto p = available(false) ? mappedLocation(pan) : std::nullopt;
  if (p && contentBounds()) {
    lastScrollPoint = *p;
    if (directWindowMove) {
      directWindowMove->update(*p);
    } else if (auto d = viewDeltaToSource({t.x - previousScroll.x, t.y - previousScroll.y}, v)) {
      actions->scroll(*p, *d, flags,
                      pan.state() == GestureState::began ? TouchScrollPhase::began : TouchScrollPhase::changed);
    }
  }
  previousScroll = t;
}

void TouchInput::scrolled(GestureRecognizer& recognizer) {
  auto v = view.lock();
  if (!v) return;
  auto& pan = static_cast<PanGestureRecognizer&>(recognizer);
  const EventFlags flags = flagsOf(recognizer);
  switch (recognizer.state()) {
    case GestureState::began: {
      cancelMomentum();
      actions->cancel();
      lastTapPoint.reset();
      previousScroll = {};
      cancelDirectMove();
      lastScrollPoint.reset();
      if (&recognizer == swipeRecognizer.get() && available(false)) {
        const Point location = pan.locationInView();
        const Point t = pan.translationInView();
        if (auto p = point({location.x - t.x, location.y - t.y}))
          if (auto target = TouchWindowTarget::frontmost(*p, sourceID, services.displays, services.windowList))
            directWindowMove = motionGroup->begin(*p, *target);
      }
      scrollUpdate(pan, *v, flags);
      break;
    }
    case GestureState::changed:
      scrollUpdate(pan, *v, flags);
      break;
    case GestureState::ended: {
      const std::optional<Point> q = mappedLocation(pan) ? mappedLocation(pan) : lastScrollPoint;
      if (directWindowMove) {
        directWindowMove->finish(q);
      } else if (q && available(false)) {
        const Point t = pan.translationInView();
        if (auto d = viewDeltaToSource({t.x - previousScroll.x, t.y - previousScroll.y}, *v); d && *d != Size{0, 0})
          actions->scroll(*q, *d, flags, TouchScrollPhase::changed);
        actions->scroll(*q, {0, 0}, flags, TouchScrollPhase::ended);
        startMomentum(pan, *q, flags);
      } else {
        actions->cancel();
      }
      previousScroll = {};
      directWindowMove.reset();
      lastScrollPoint.reset();
      break;
    }
    case GestureState::cancelled:
    case GestureState::failed:
      cancelMomentum();
      cancelDirectMove();
      actions->cancel();
      previousScroll = {};
      lastScrollPoint.reset();
      break;
    case GestureState::possible:
      break;
  }
}

void TouchInput::startMomentum(PanGestureRecognizer& pan, Point at, EventFlags flags) {
  auto v = view.lock();
  if (!v || !contentBounds()) return;
  auto d = viewDeltaToSource(pan.velocityInView(), *v);
  if (!d || std::hypot(d->width, d->height) < TouchMomentum::launchSpeed) return;
  TouchMomentum m(*d);
  if (!m.isActive) return;
  momentum = m;
  momentumPoint = at;
  momentumFlags = flags;
  lastMomentumTime = services.loop.now();
  actions->scroll(momentumPoint, {0, 0}, momentumFlags, TouchScrollPhase::momentumBegan);
  momentumTimer = std::make_unique<RepeatingTimer>(services.loop, momentumInterval, momentumTolerance,
                                                   [weak = weak_from_this()] {
                                                     if (auto self = weak.lock()) self->momentumTick();
                                                   });
}

void TouchInput::momentumTick() {
  // The momentum ends before anything is cancelled: cancelling first would close the scroll
  // session and send the momentum's end on its own to whatever window is under the point now.
  auto v = view.lock();
  if (!momentum || stopped || !v || !v->isInWindow() || !geometryIsValid) {
    cancelMomentum();
    available(false);
    return;
  }
  const double now = services.loop.now();
  auto step = momentum->advance(now - lastMomentumTime);
  lastMomentumTime = now;
  if (step) actions->scroll(momentumPoint, *step, momentumFlags, TouchScrollPhase::momentumChanged);
  if (!momentum->isActive) {
    actions->scroll(momentumPoint, {0, 0}, momentumFlags, TouchScrollPhase::momentumEnded);
    if (momentumTimer) momentumTimer->invalidate();
    momentumTimer.reset();
    momentum.reset();
  }
}

void TouchInput::cancelMomentum() {
  if (momentumTimer) momentumTimer->invalidate();
  momentumTimer.reset();
  if (momentum) actions->scroll(momentumPoint, {0, 0}, momentumFlags, TouchScrollPhase::momentumEnded);
  momentum.reset();
}

}  // namespace turnlet
