#include "touch/DirectTouchTapRecognizer.h"

#include <cmath>

namespace turnlet {

namespace {

bool finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

void TouchTapTracker::begin(std::uint64_t touch, Point point, double time) {
  *this = TouchTapTracker{};
  if (finite(point) && std::isfinite(time)) {
    identity = touch;
    startPoint = latestPoint = point;
    startTime = time;
  } else {
    isRejected = true;
  }
}

void TouchTapTracker::move(std::uint64_t touch, Point point, double time) {
  const bool candidate = isTracking() && identity == touch && finite(point) && std::isfinite(time) && startTime &&
                         *startTime <= time && startPoint &&
                         std::hypot(point.x - startPoint->x, point.y - startPoint->y) <= maximumDistance &&
                         time - *startTime < maximumDuration;
  if (candidate) {
    latestPoint = point;
  } else {
    reject();
  }
}

void TouchTapTracker::reject() {
  isRejected = true;
  identity.reset();
}

std::shared_ptr<CustomGestureRecognizer> DirectTouchTapRecognizer::make(GestureRecognizers& recognizers,
                                                                        GestureRecognizers::Action action) {
  return recognizers.makeCustom(std::make_shared<DirectTouchTapRecognizer>(), std::move(action));
}

void DirectTouchTapRecognizer::reject(CustomGestureRecognizer& recognizer) {
  tap.reject();
  recognizer.setState(GestureState::failed);
}

void DirectTouchTapRecognizer::touchesBegan(CustomGestureRecognizer& recognizer, const TouchEvent& event) {
  if (recognizer.state() != GestureState::possible || tap.isTracking() || !recognizer.hasView()) return reject(recognizer);
  const auto touching = event.touches(touchPhaseTouching);
  const auto began = event.touches(touchPhaseBegan);
  if (touching.size() != 1 || began.size() != 1 || began[0].type != TouchType::direct) return reject(recognizer);
  tap.begin(began[0].identity, began[0].location, event.timestamp());
  if (!tap.isTracking()) return reject(recognizer);
  finalPoint = began[0].location;
}

void DirectTouchTapRecognizer::touchesMoved(CustomGestureRecognizer& recognizer, const TouchEvent& event) {
  if (!tap.isTracking() || !recognizer.hasView()) return reject(recognizer);
  const auto touching = event.touches(touchPhaseTouching);
  const auto moved = event.touches(touchPhaseMoved);
  if (touching.size() != 1 || moved.size() != 1 || moved[0].type != TouchType::direct) return reject(recognizer);
  tap.move(moved[0].identity, moved[0].location, event.timestamp());
  if (!tap.isTracking()) return reject(recognizer);
  finalPoint = moved[0].location;
}

void DirectTouchTapRecognizer::touchesEnded(CustomGestureRecognizer& recognizer, const TouchEvent& event) {
  if (!tap.isTracking() || !recognizer.hasView()) return reject(recognizer);
  const auto ended = event.touches(touchPhaseEnded);
  if (ended.size() != 1 || ended[0].type != TouchType::direct) return reject(recognizer);
  tap.move(ended[0].identity, ended[0].location, event.timestamp());
  if (!tap.isTracking()) return reject(recognizer);
  finalPoint = ended[0].location;
  recognizer.setState(GestureState::ended);
}

void DirectTouchTapRecognizer::touchesCancelled(CustomGestureRecognizer& recognizer, const TouchEvent&) {
  reject(recognizer);
}

void DirectTouchTapRecognizer::reset() {
  tap = TouchTapTracker{};
  finalPoint.reset();
}

}  // namespace turnlet
