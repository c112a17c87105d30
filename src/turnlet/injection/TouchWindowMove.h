#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "injection/LatestValueWriter.h"
#include "injection/TouchWindowTarget.h"
#include "platform/Accessibility.h"
#include "platform/MainLoop.h"
#include "platform/SerialQueue.h"

namespace turnlet {

// What window moves use of the platform.
struct WindowMoveServices {
  QueueFactory& queues;
  const MainLoop& clock;
  Accessibility& accessibility;
};

// One title-bar move: the window is raised at its start, then its position follows the finger,
// keeping its offset to it, written through Accessibility at most 60 times a second on the
// writer's queue; the main loop never waits for a write.
//
// Made on the main loop, used there; shared by the touch input, the event poster and the motion
// group. Ended by finish() (finger lifted: the last position is still written) or cancel().
class TouchWindowMove {
  struct Passkey {};

 public:
  static constexpr double titleBarBand = 28;      // points from the window's top edge
  static constexpr double frameTolerance = 2;     // points between the list's and the element's frame
  static constexpr std::size_t windowsExamined = 12;
  static constexpr float messagingTimeout = 0.15f;
  static constexpr double writesPerSecond = 60;
  static constexpr const char* raiseAction = "AXRaise";

  // A move when the point lies on a movable title bar of the target, else nothing.
  static std::shared_ptr<TouchWindowMove> begin(Point point, const TouchWindowTarget& target,
                                                WindowMoveServices services);
  TouchWindowMove(Passkey, AccessibilityElementRef window, Point initialPosition, Point initialFingerPoint,
                  WindowMoveServices services);

  // False when the point or the resulting position is not finite.
  bool update(Point point);
  void finish(std::optional<Point> point);
  void cancel();

  bool isFinishing() const { return finishing; }
  const std::shared_ptr<LatestValueWriter<Point>>& writer() const { return positionWriter; }

 private:
  static bool isTitlebarContainer(Accessibility& ax, const AccessibilityElementRef& element);
  static std::vector<AccessibilityElementRef> windows(Accessibility& ax, const AccessibilityElementRef& application);
  static std::optional<Point> position(Accessibility& ax, const AccessibilityElementRef& window);

  AccessibilityElementRef window;
  Point initialPosition;
  Point initialFingerPoint;
  std::optional<Point> lastSubmitted;
  std::shared_ptr<LatestValueWriter<Point>> positionWriter;
  bool finishing = false;
};

// All window moves of one touch input, so that teardown can wait until none writes any more.
// Main loop only.
class TouchMotionGroup {
 public:
  explicit TouchMotionGroup(WindowMoveServices services) : services(services) {}

  // Drops the moves that have come to rest, then starts one.
  std::shared_ptr<TouchWindowMove> begin(Point point, const TouchWindowTarget& target);
  // Cancels every move and ends once none writes any more; the group is empty afterwards.
  Task<void> waitForIdle();
  // Cancels every move (or those not finishing), keeping them until they come to rest.
  void cancelAll(bool unfinishedOnly = false);
  const std::vector<std::shared_ptr<TouchWindowMove>>& moves() const { return list; }

 private:
  WindowMoveServices services;
  std::vector<std::shared_ptr<TouchWindowMove>> list;
};

// The press of the control under a finger, through Accessibility. Main loop only.
class TouchAccessibility {
 public:
  TouchAccessibility() = delete;
  static constexpr int elementsTried = 6;
  // True when an enabled element at the point, or one of its first five ancestors, was pressed.
  static bool press(Point point, const TouchWindowTarget& target, Accessibility& accessibility);
};

// The single-precision coordinates of a point, or nothing when a coordinate is not finite or
// beyond the float's range (where the conversion would be undefined).
std::optional<std::pair<float, float>> floatCoordinates(Point point);

}  // namespace turnlet
