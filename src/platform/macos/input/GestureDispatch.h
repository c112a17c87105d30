#pragma once

#include <memory>

#include "macos/bridge/CallbackSlot.h"
#include "platform/Gestures.h"

namespace turnlet::macos {

// What the platform's callbacks of one recognizer reach: its action and its delegate. The
// recognizer wrapper owns it (shared) and names itself in it; the Objective-C target and delegate
// objects hold it weakly. Each call locks the wrapper first, so the program may remove, disable
// and release any recognizer from inside the call, this one included: it stays alive until the
// call returns. A recognizer not in a view (removed, or never added) is not called, and its
// delegate questions answer no. Without a delegate the platform's defaults (yes) hold. Main loop
// only.
class GestureDispatch final {
 public:
  using Action = std::function<void(GestureRecognizer&)>;

  explicit GestureDispatch(Action action) { this->action.set(std::move(action)); }

  // The wrapper, held weakly (it owns this object).
  void setRecognizer(std::weak_ptr<GestureRecognizer> recognizer) { self = std::move(recognizer); }
  void setDelegate(std::weak_ptr<GestureRecognizerDelegate> d) { delegate = std::move(d); }
  void setInView(bool in) { inView = in; }
  bool isInView() const { return inView; }

  // From the platform's callbacks; each answers what the platform is to be told.
  static bool runAction(const std::weak_ptr<GestureDispatch>& dispatch);
  static bool shouldAttemptToRecognize(const std::weak_ptr<GestureDispatch>& dispatch, const TouchEvent& event);
  static bool shouldReceiveTouch(const std::weak_ptr<GestureDispatch>& dispatch, const Touch& touch);
  static bool shouldBegin(const std::weak_ptr<GestureDispatch>& dispatch);

 private:
  // Locks this dispatch and its recognizer for one call; both stay alive until fn returns.
  template <class Fn>
  static bool with(const std::weak_ptr<GestureDispatch>& weak, bool absent, Fn fn) {
    std::shared_ptr<GestureDispatch> dispatch = weak.lock();
    if (!dispatch) return absent;
    std::shared_ptr<GestureRecognizer> recognizer = dispatch->self.lock();
    if (!recognizer || !dispatch->inView) return absent;
    return fn(*dispatch, *recognizer);
  }

  CallbackSlot<GestureRecognizer&> action;
  std::weak_ptr<GestureRecognizer> self;
  std::weak_ptr<GestureRecognizerDelegate> delegate;
  bool inView = false;
};

}  // namespace turnlet::macos
