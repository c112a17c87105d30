#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Gestures.h"
#include "platform/MainLoop.h"

namespace turnlet::sim {

struct RecognizerCore;

// A view of the simulated Mac that receives scripted finger contacts and runs the gesture
// recognizers attached to it on the loop's clock: the delegate is asked before a recognizer
// attempts an event, receives a touch and begins; the first recognizer to begin or recognize wins
// and the others still possible fail. A pan or press takes between its minimum and maximum number
// of fingers and fails when more come down while it is still possible; a pan begins once its
// fingers' centroid has moved panStartDistance points, a press once its finger has stayed within
// allowableMovement for its duration. One event may move several fingers at once, as the
// platform's do: each recognizer sees it once, with every moved finger in it.
// Dispatch runs over a snapshot, so an action or delegate answer may remove recognizers.
// Main loop only.
class SimTouchView : public TouchView, public std::enable_shared_from_this<SimTouchView> {
 public:
  static constexpr double allowableMovement = 10;
  // Control: how far (points) a pan's fingers move before it begins.
  double panStartDistance = 5;

  SimTouchView(MainLoop& loop, Rect bounds, std::optional<std::int64_t> screenNumber, bool flipped = false);

  Rect bounds() const override { return frame; }
  bool isFlipped() const override { return flipped; }
  bool isInWindow() const override { return inWindow; }
  std::optional<std::int64_t> windowScreenNumber() const override { return inWindow ? screen : std::nullopt; }
  TouchTypeMask allowedTouchTypes() const override { return allowed; }
  void setAllowedTouchTypes(TouchTypeMask types) override { allowed = types; }
  void addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer) override;
  void removeGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) override;

  // Fingers, in the view's coordinates, at the loop's time.
  void touchDown(std::uint64_t finger, Point location, TouchType type = TouchType::direct);
  void touchMove(std::uint64_t finger, Point location);
  // Several fingers moved in one event; fingers not down are left out.
  void touchMoves(const std::vector<std::pair<std::uint64_t, Point>>& moves);
  void touchUp(std::uint64_t finger);
  void cancelTouches();
  // Controls: the modifier keys held; moving the view out of its window (cancels the touches) or
  // onto another screen.
  std::uint64_t modifierFlags = 0;
  void setInWindow(bool in);
  void setScreenNumber(std::optional<std::int64_t> number) { screen = number; }
  void setBounds(Rect bounds) { frame = bounds; }

  const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const { return attached; }

 private:
  friend struct RecognizerCore;
  struct Finger {
    Point location;
    TouchType type;
    TouchPhase phase;
  };
  void dispatch(const std::vector<std::uint64_t>& changed, TouchPhase phase);
  void pressDue(std::weak_ptr<GestureRecognizer> recognizer);
  void win(RecognizerCore& winner);
  bool isAttached(const GestureRecognizer* recognizer) const;

  MainLoop& loop;
  Rect frame;
  std::optional<std::int64_t> screen;
  bool flipped;
  bool inWindow = true;
  TouchTypeMask allowed = touchTypeMaskDirect | touchTypeMaskIndirect;
  std::map<std::uint64_t, Finger> fingers;
  std::vector<std::shared_ptr<GestureRecognizer>> attached;
};

// Makes the simulated recognizers.
class SimGestureRecognizers : public GestureRecognizers {
 public:
  explicit SimGestureRecognizers(MainLoop& loop) : loop(loop) {}
  std::shared_ptr<PanGestureRecognizer> makePan(Action action) override;
  std::shared_ptr<PressGestureRecognizer> makePress(Action action) override;
  std::shared_ptr<CustomGestureRecognizer> makeCustom(std::shared_ptr<GestureHooks> hooks, Action action) override;

 private:
  MainLoop& loop;
};

}  // namespace turnlet::sim
