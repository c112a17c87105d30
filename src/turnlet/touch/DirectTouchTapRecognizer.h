#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/Gestures.h"

namespace turnlet {

// The bookkeeping of one tap candidate: the touch followed from contact to lift. Tracking while
// it has an identity and is not rejected. Plain value.
struct TouchTapTracker {
  static constexpr double maximumDistance = 10;  // points from where it landed
  static constexpr double maximumDuration = 0.5;  // seconds, exclusive

  std::optional<std::uint64_t> identity;
  std::optional<Point> startPoint;
  std::optional<Point> latestPoint;
  std::optional<double> startTime;
  bool isRejected = false;

  bool isTracking() const { return identity.has_value() && !isRejected; }
  void begin(std::uint64_t touch, Point point, double time);
  void move(std::uint64_t touch, Point point, double time);
  void reject();
};

// The program's own recognizer of a single short, nearly still direct-finger tap, plugged into a
// custom platform recognizer: possible → ended (a tap) or failed; a second finger, an indirect
// touch, moving more than 10 points or holding half a second fails it. Main loop only.
class DirectTouchTapRecognizer : public GestureHooks {
 public:
  // A recognizer carrying these hooks.
  static std::shared_ptr<CustomGestureRecognizer> make(GestureRecognizers& recognizers, GestureRecognizers::Action action);

  void touchesBegan(CustomGestureRecognizer& recognizer, const TouchEvent& event) override;
  void touchesMoved(CustomGestureRecognizer& recognizer, const TouchEvent& event) override;
  void touchesEnded(CustomGestureRecognizer& recognizer, const TouchEvent& event) override;
  void touchesCancelled(CustomGestureRecognizer& recognizer, const TouchEvent& event) override;
  void reset() override;
  std::optional<Point> location() const override { return finalPoint; }

  const TouchTapTracker& tracker() const { return tap; }

 private:
  void reject(CustomGestureRecognizer& recognizer);

  TouchTapTracker tap;
  std::optional<Point> finalPoint;
};

}  // namespace turnlet
