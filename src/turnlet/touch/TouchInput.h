#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "display/QuarterTurn.h"
#include "injection/TouchActions.h"
#include "injection/TouchEventPoster.h"
#include "injection/TouchWindowMove.h"
#include "platform/Accessibility.h"
#include "platform/DisplayServices.h"
#include "platform/GpuView.h"
#include "platform/Gestures.h"
#include "platform/InputEvents.h"
#include "platform/LibraryLoader.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/Permissions.h"
#include "platform/SerialQueue.h"
#include "platform/SystemVersion.h"
#include "platform/WindowList.h"
#include "presentation/TouchInputControl.h"
#include "runtime/RepeatingTimer.h"
#include "touch/TouchMomentum.h"

namespace turnlet {

// What finger touch uses of the platform. The referenced services outlive every input.
struct TouchServices {
  MainLoop& loop;
  QueueFactory& queues;
  DisplayServices& displays;
  Permissions& permissions;
  SystemVersion& system;
  InputEvents& events;
  WindowList& windowList;
  Accessibility& accessibility;
  GestureRecognizers& recognizers;
  LibraryLoader& libraries;
  Log& log;
};

// Finger touch on the presentation view as pointer input on the virtual display: four
// recognizers (tap, one-finger pan, two-finger pan, press) drive the gesture state machine, whose
// actions the event poster delivers; swipes coast with momentum, a one-finger pan on a title bar
// moves the window, and lost permission or changed displays end what is open.
//
// Running from make() until stop(), which is final. Made, used and destroyed on the main loop;
// recognizer actions, the delegate, the momentum timer and the screen observer hold it weakly.
class TouchInput : public TouchInputControl,
                   public GestureRecognizerDelegate,
                   public std::enable_shared_from_this<TouchInput> {
  struct Passkey {};

 public:
  static constexpr double momentumInterval = 1.0 / 60;
  static constexpr double momentumTolerance = 0.001;
  static constexpr double pressDuration = 0.5;
  static constexpr double tapSlop = 8;  // points between taps of one multiple click
  static constexpr std::uint32_t virtualDisplayVendor = 0x544C;

  // Throws AppFailure "Finger touch requires macOS 27 and iPadOS 27." below macOS 27, and the
  // poster's failures; then nothing is installed on the view.
  static std::shared_ptr<TouchInput> make(std::weak_ptr<TouchView> view, DisplayID sourceID, DisplayID targetID,
                                          QuarterTurn rotation, TouchServices services);
  // What a rotation session calls to turn touch on for its presentation view: an input on the
  // view's touch side, null where the view has none.
  using Factory = std::function<std::shared_ptr<TouchInputControl>(GpuView& view, DisplayID sourceID,
                                                                   DisplayID targetID, QuarterTurn rotation)>;
  static Factory factory(TouchServices services);
  TouchInput(Passkey, std::weak_ptr<TouchView> view, DisplayID sourceID, DisplayID targetID, QuarterTurn rotation,
             TouchServices services);
  ~TouchInput() override;

  // TouchInputControl
  void stop() override;
  std::optional<TaskHandle> motionStopTask() const override { return motionStop; }
  void setOnAccessLost(std::function<void()> callback) override { onAccessLost = std::move(callback); }

  // GestureRecognizerDelegate
  bool shouldAttemptToRecognize(GestureRecognizer& recognizer, const TouchEvent& event) override;
  bool shouldReceiveTouch(GestureRecognizer& recognizer, const Touch& touch) override;
  bool shouldBegin(GestureRecognizer& recognizer) override;

  std::optional<Rect> contentBounds() const;
  std::optional<Point> point(Point location) const;

  // Observations.
  bool hasMomentum() const { return momentum.has_value(); }
  const Rect& currentSourceBounds() const { return sourceBounds; }
  const TouchMotionGroup& motions() const { return *motionGroup; }

 private:
  void install();
  bool available(bool checkAccess);
  bool refreshGeometry();
  void screenParametersChanged();
  void tapped(GestureRecognizer& recognizer);
  void pressed(GestureRecognizer& recognizer);
  void scrolled(GestureRecognizer& recognizer);
  void scrollUpdate(PanGestureRecognizer& pan, TouchView& view, EventFlags flags);
  std::optional<Size> viewDeltaToSource(Point viewDelta, const TouchView& view) const;
  void startMomentum(PanGestureRecognizer& pan, Point at, EventFlags flags);
  void momentumTick();
  void cancelMomentum();
  void cancelDirectMove();
  std::optional<Point> mappedLocation(const GestureRecognizer& recognizer) const;
  GestureRecognizers::Action action(void (TouchInput::*member)(GestureRecognizer&));

  TouchServices services;
  std::weak_ptr<TouchView> view;
  DisplayID sourceID;
  DisplayID targetID;
  QuarterTurn rotation;
  Rect sourceBounds;
  bool geometryIsValid = true;
  std::unique_ptr<TouchActions> actions;
  std::shared_ptr<TouchMotionGroup> motionGroup;
  std::vector<std::shared_ptr<GestureRecognizer>> recognizers;
  TouchTypeMask previousTouchTypes = 0;
  Point previousScroll;
  std::shared_ptr<PanGestureRecognizer> swipeRecognizer;
  std::shared_ptr<TouchWindowMove> directWindowMove;
  std::optional<Point> lastScrollPoint;
  std::optional<DisplayServices::ObserverToken> screenObserver;
  std::optional<TouchMomentum> momentum;
  std::unique_ptr<RepeatingTimer> momentumTimer;
  Point momentumPoint;
  EventFlags momentumFlags = 0;
  double lastMomentumTime = 0;
  std::optional<Point> lastTapPoint;
  double lastTapTime = 0;
  int tapCount = 0;
  bool stopped = false;
  std::optional<TaskHandle> motionStop;
  std::function<void()> onAccessLost;
};

}  // namespace turnlet
