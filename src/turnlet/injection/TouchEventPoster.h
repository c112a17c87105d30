#pragma once

#include <functional>
#include <limits>
#include <memory>
#include <optional>

#include "injection/TouchAction.h"
#include "injection/TouchWindowMove.h"
#include "injection/TouchWindowTarget.h"
#include "platform/InputEvents.h"
#include "platform/LibraryLoader.h"

namespace turnlet {

// Turns each touch action into one synthetic pointer event delivered straight to the process
// that owns the window under the finger. Keeps the window last hovered, the window that gets a
// pressed button, the window and sub-point remainder of a scroll session, and a title-bar move
// started by a drag. A plain left click is first offered to the accessibility press of the
// control under the finger.
//
// Target decisions go through the operations handed in. Main loop only; owned by the touch
// input's action callback.
class TouchEventPoster {
 public:
  static constexpr const char* coreGraphicsPath = "/System/Library/Frameworks/CoreGraphics.framework/CoreGraphics";
  static constexpr const char* windowLocationSymbol = "CGEventSetWindowLocation";
  static constexpr EventFlags commandKeysMask = 0x1E0000;  // shift, control, option, command

  struct Operations {
    std::function<std::optional<TouchWindowTarget>(Point)> resolveTarget;
    std::function<std::optional<TouchWindowTarget>(const TouchWindowTarget&)> refreshTarget;
    std::function<bool(Point, const TouchWindowTarget&)> pressControl;
    std::function<std::shared_ptr<TouchWindowMove>(Point, const TouchWindowTarget&)> beginWindowMove;
    std::function<double()> now;
    // Empty: a private-state source and delivery to the process, through `events`.
    std::function<std::shared_ptr<EventSource>()> sourceFactory = {};
    std::function<void(InputEvent&, ProcessID)> deliver = {};
  };

  // Throws AppFailure "macOS could not create the touch event source." or "Window-targeted touch
  // delivery is unavailable on this macOS version.".
  TouchEventPoster(Operations operations, InputEvents& events, LibraryLoader& libraries);
  TouchEventPoster(const TouchEventPoster&) = delete;
  TouchEventPoster& operator=(const TouchEventPoster&) = delete;

  void post(const TouchAction& action);

  // Observations for the owner's checks.
  bool hasScrollSession() const { return scrollSessionActive; }
  bool hasHeldTarget() const { return heldTarget.has_value(); }

  static constexpr double scrollRefreshInterval = 0.25;
  static constexpr double dragRefreshInterval = 0.1;

 private:
  std::unique_ptr<InputEvent> make(const TouchAction& action, const TouchWindowTarget& target);
  void postTo(const TouchAction& action, const TouchWindowTarget& target);
  std::optional<TouchWindowTarget> hoverRule(Point point);
  void endScrollSession();
  void onMove(const TouchAction::Move& a, const TouchAction& action);
  void onDown(const TouchAction::Down& a, const TouchAction& action);
  void onBeginDrag(const TouchAction::BeginDrag& a, const TouchAction& action);
  void onDrag(const TouchAction::Drag& a, const TouchAction& action);
  void onUp(const TouchAction::Up& a, const TouchAction& action);
  void onScroll(const TouchAction::Scroll& a, const TouchAction& action);

  static constexpr double never = -std::numeric_limits<double>::infinity();

  InputEvents& events;
  std::shared_ptr<EventSource> source;
  std::unique_ptr<LoadedLibrary> library;
  EventWindowLocationSetter setWindowLocation;  // from `library`, so destroyed before it
  Operations ops;
  std::optional<TouchWindowTarget> hoverTarget;
  std::optional<Point> hoverPoint;
  std::optional<TouchWindowTarget> heldTarget;
  double heldTargetLastRefresh = never;
  std::shared_ptr<TouchWindowMove> windowMove;
  bool consumedPress = false;
  std::optional<TouchWindowTarget> scrollTarget;
  bool scrollSessionActive = false;
  double scrollTargetLastRefresh = never;
  Size scrollRemainder;
};

// A whole wheel delta as the platform's 32-bit field holds it: absent when the value is not
// finite or lies beyond that range (halves round away from zero).
std::optional<std::int32_t> wheelDelta(double value);

}  // namespace turnlet
