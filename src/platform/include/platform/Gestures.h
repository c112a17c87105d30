#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Geometry.h"

namespace turnlet {

// Gesture recognizer states, the platform's numbers (ended is also "recognized").
enum class GestureState : std::int64_t { possible = 0, began = 1, changed = 2, ended = 3, cancelled = 4, failed = 5 };

enum class TouchType : std::int64_t { direct = 0, indirect = 1 };
// Touch-type masks (bits).
using TouchTypeMask = std::uint64_t;
inline constexpr TouchTypeMask touchTypeMaskDirect = 1;
inline constexpr TouchTypeMask touchTypeMaskIndirect = 2;

// Touch phases (bits); a phase mask selects touches of an event.
using TouchPhase = std::uint64_t;
inline constexpr TouchPhase touchPhaseBegan = 1;
inline constexpr TouchPhase touchPhaseMoved = 2;
inline constexpr TouchPhase touchPhaseStationary = 4;
inline constexpr TouchPhase touchPhaseEnded = 8;
inline constexpr TouchPhase touchPhaseCancelled = 16;
inline constexpr TouchPhase touchPhaseTouching = touchPhaseBegan | touchPhaseMoved | touchPhaseStationary;
inline constexpr TouchPhase touchPhaseAny = ~TouchPhase{0};

// Event types, the platform's numbers, of the events recognizers see.
inline constexpr std::uint64_t eventTypeGesture = 29;
inline constexpr std::uint64_t eventTypeDirectTouch = 37;

// The device-independent modifier bits of event flags.
inline constexpr std::uint64_t deviceIndependentFlagsMask = 0xFFFF0000;

// One finger as an event reports it. The identity is compared by value: equal for the same finger
// from contact to lift, and it may be given to another finger once this one has lifted (the
// platform reuses its touch objects). Locations are in the coordinates of the view the event was
// delivered to.
struct Touch {
  std::uint64_t identity = 0;
  TouchType type = TouchType::direct;
  TouchPhase phase = touchPhaseBegan;
  Point location;
};

// A touch event as a recognizer sees it.
class TouchEvent {
 public:
  virtual ~TouchEvent() = default;
  virtual std::uint64_t type() const = 0;
  virtual double timestamp() const = 0;  // seconds of uptime
  virtual std::uint64_t modifierFlags() const = 0;
  // The event's touches whose phase is in the mask, located in the recognizer's view.
  virtual std::vector<Touch> touches(TouchPhase matching) const = 0;
};

class GestureRecognizer;

// Questions a recognizer asks its delegate; answered at once, on the main loop.
class GestureRecognizerDelegate {
 public:
  virtual ~GestureRecognizerDelegate() = default;
  virtual bool shouldAttemptToRecognize(GestureRecognizer& recognizer, const TouchEvent& event) = 0;
  virtual bool shouldReceiveTouch(GestureRecognizer& recognizer, const Touch& touch) = 0;
  virtual bool shouldBegin(GestureRecognizer& recognizer) = 0;
};

// A gesture recognizer attached to a view. Its action runs on the main loop at every state change
// the program sees (began, changed, ended, cancelled, failed for continuous recognizers; ended
// for discrete ones). Owned by whoever made it; the view keeps the ones added to it until they
// are removed. From inside an action or a delegate call the program may disable, remove and
// release any recognizer, the one being called included: the platform keeps them alive until the
// call returns, and a removed recognizer is not called again. Main loop only.
class GestureRecognizer {
 public:
  virtual ~GestureRecognizer() = default;
  virtual GestureState state() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual void setAllowedTouchTypes(TouchTypeMask types) = 0;
  // Held weakly.
  virtual void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate) = 0;
  // In the coordinates of the recognizer's view.
  virtual Point locationInView() const = 0;
  // Of the event being handled now, or the last one.
  virtual std::uint64_t modifierFlags() const = 0;
};

// A pan of direct touches (the platform's pan recognizer with its touch counts, macOS 27).
class PanGestureRecognizer : public GestureRecognizer {
 public:
  // No upper bound on the fingers: the maximum's default (the platform's largest integer).
  static constexpr std::int64_t unlimitedTouches = std::numeric_limits<std::int64_t>::max();
  // The fewest fingers that can begin the pan; 1 by default.
  virtual void setMinimumNumberOfTouches(std::int64_t touches) = 0;
  // The most fingers the pan allows; unlimitedTouches by default. 0 means exactly the minimum.
  // More fingers than this while the pan is still possible make it fail.
  virtual void setMaximumNumberOfTouches(std::int64_t touches) = 0;
  // Cumulative since the gesture began, in the view's coordinates (points; per second).
  virtual Point translationInView() const = 0;
  virtual Point velocityInView() const = 0;
};

class PressGestureRecognizer : public GestureRecognizer {
 public:
  virtual void setMinimumPressDuration(double seconds) = 0;
  // Exactly this many fingers.
  virtual void setNumberOfTouchesRequired(int touches) = 0;
};

// A recognizer whose touch handling is the program's own: the hooks receive the touches and move
// it between states; the base handling runs before each hook.
class CustomGestureRecognizer : public GestureRecognizer {
 public:
  virtual void setState(GestureState state) = 0;
  // The view the recognizer is attached to, if any.
  virtual bool hasView() const = 0;
};

class GestureHooks {
 public:
  virtual ~GestureHooks() = default;
  virtual void touchesBegan(CustomGestureRecognizer& recognizer, const TouchEvent& event) = 0;
  virtual void touchesMoved(CustomGestureRecognizer& recognizer, const TouchEvent& event) = 0;
  virtual void touchesEnded(CustomGestureRecognizer& recognizer, const TouchEvent& event) = 0;
  virtual void touchesCancelled(CustomGestureRecognizer& recognizer, const TouchEvent& event) = 0;
  // After the recognizer ended or failed, back to possible.
  virtual void reset() = 0;
  // Overrides the recognizer's location when present.
  virtual std::optional<Point> location() const = 0;
};

// The view that receives touches. Main loop only.
class TouchView {
 public:
  virtual ~TouchView() = default;
  virtual Rect bounds() const = 0;  // in its own coordinates
  virtual bool isFlipped() const = 0;
  virtual bool isInWindow() const = 0;
  // The "NSScreenNumber" of the screen its window is on; absent without window, screen or entry.
  virtual std::optional<std::int64_t> windowScreenNumber() const = 0;
  virtual TouchTypeMask allowedTouchTypes() const = 0;
  virtual void setAllowedTouchTypes(TouchTypeMask types) = 0;
  virtual void addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer) = 0;
  virtual void removeGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) = 0;
};

// Makes recognizers; the action is called with the recognizer. Main loop only.
class GestureRecognizers {
 public:
  using Action = std::function<void(GestureRecognizer&)>;
  virtual ~GestureRecognizers() = default;
  virtual std::shared_ptr<PanGestureRecognizer> makePan(Action action) = 0;
  virtual std::shared_ptr<PressGestureRecognizer> makePress(Action action) = 0;
  // The hooks are held by the recognizer.
  virtual std::shared_ptr<CustomGestureRecognizer> makeCustom(std::shared_ptr<GestureHooks> hooks, Action action) = 0;
};

}  // namespace turnlet
