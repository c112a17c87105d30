#pragma once

#import <AppKit/AppKit.h>

#include "macos/input/GestureDispatch.h"
#include "platform/Gestures.h"

namespace turnlet::macos {

// Recognizers over AppKit's: the pan (its touch counts set only from macOS 27, where the platform
// has them), the press, and the program's own recognizer, a subclass whose touch handling calls the
// hooks after the base handling. Each recognizer's target and delegate is one object that holds
// the recognizer's dispatch weakly and that the wrapper keeps (the platform holds both weakly);
// every call keeps the recognizer alive until it returns (GestureDispatch). Touch identities
// become numbers per recognizer (TouchIdentities). Add them to an AppKitTouchView. Main thread
// only.
class AppKitGestureRecognizers final : public GestureRecognizers {
 public:
  std::shared_ptr<PanGestureRecognizer> makePan(Action action) override;
  std::shared_ptr<PressGestureRecognizer> makePress(Action action) override;
  std::shared_ptr<CustomGestureRecognizer> makeCustom(std::shared_ptr<GestureHooks> hooks, Action action) override;
};

// For the touch view: the platform recognizer and the dispatch of a recognizer made here; null
// for any other.
NSGestureRecognizer* _Nullable platformRecognizer(GestureRecognizer& recognizer);
GestureDispatch* _Nullable gestureDispatch(GestureRecognizer& recognizer);

}  // namespace turnlet::macos
