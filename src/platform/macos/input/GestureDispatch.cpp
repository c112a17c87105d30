#include "macos/input/GestureDispatch.h"

namespace turnlet::macos {

bool GestureDispatch::runAction(const std::weak_ptr<GestureDispatch>& weak) {
  return with(weak, false, [](GestureDispatch& d, GestureRecognizer& r) { return d.action(r); });
}

bool GestureDispatch::shouldAttemptToRecognize(const std::weak_ptr<GestureDispatch>& weak, const TouchEvent& event) {
  return with(weak, false, [&](GestureDispatch& d, GestureRecognizer& r) {
    std::shared_ptr<GestureRecognizerDelegate> delegate = d.delegate.lock();
    return !delegate || delegate->shouldAttemptToRecognize(r, event);
  });
}

bool GestureDispatch::shouldReceiveTouch(const std::weak_ptr<GestureDispatch>& weak, const Touch& touch) {
  return with(weak, false, [&](GestureDispatch& d, GestureRecognizer& r) {
    std::shared_ptr<GestureRecognizerDelegate> delegate = d.delegate.lock();
    return !delegate || delegate->shouldReceiveTouch(r, touch);
  });
}

bool GestureDispatch::shouldBegin(const std::weak_ptr<GestureDispatch>& weak) {
  return with(weak, false, [](GestureDispatch& d, GestureRecognizer& r) {
    std::shared_ptr<GestureRecognizerDelegate> delegate = d.delegate.lock();
    return !delegate || delegate->shouldBegin(r);
  });
}

}  // namespace turnlet::macos
