#pragma once

// The one object that owns a rotation from start to finish: the iPad being rotated, the virtual
// display, the capture stream, the renderer, the presentation window, the fade cover, touch input,
// the sleep and reconnection state and the retry scheduler.
//
// Operations: the commands (RotationSession.cpp), applying a rotation (RotationSessionApply.cpp),
// stopping and teardown (RotationSessionTeardown.cpp), monitoring and restoration
// (RotationSessionMonitoring.cpp). Long operations give up the main loop only at their awaits and
// re-check `busy`, the sleep flags, `shuttingDown` and the operation counter `generation` after
// each; a later event supersedes a running apply by bumping the counter, never by a lock.
//
// Failures: whatever a platform call throws ends the operation as a failure reported at that point
// would: `busy` is held by a BusyScope from an operation's start until its teardown has ended, and
// touch input and the user interface's refresh keep their failures to themselves.
//
// Tasks: every task the session starts (an apply, a clean-up, a notification handler, a render
// failure's hop to the loop) runs in its TaskScope; shutdown() cancels and awaits them. An apply
// runs as a task of its own, so the caller that awaits it (the retry scheduler, say) may be
// cancelled without breaking the apply's teardown half-way; the apply is superseded through the
// counter instead. Teardown never stops on a cancellation: a cancelled wait is simply not waited.
//
// Main loop only. The session lives in a shared_ptr held by its owner; observers, the retry
// attempt and the renderer's callbacks hold it weakly; its running tasks hold it strongly.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "display/DisplayInfo.h"
#include "display/PhysicalDisplayTopology.h"
#include "display/QuarterTurn.h"
#include "display/RotationPreferences.h"
#include "platform/CaptureStream.h"
#include "platform/DisplayServices.h"
#include "platform/Gpu.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/ObjectRuntime.h"
#include "platform/Permissions.h"
#include "platform/SerialQueue.h"
#include "platform/SystemVersion.h"
#include "platform/TextServices.h"
#include "platform/WindowServices.h"
#include "platform/WorkspaceNotifications.h"
#include "presentation/PresentationWindow.h"
#include "presentation/RotationFade.h"
#include "presentation/TouchInputControl.h"
#include "render/RenderStatistics.h"
#include "render/ScreenRenderer.h"
#include "runtime/Task.h"
#include "runtime/TaskScope.h"
#include "session/RotationRecovery.h"
#include "virtualdisplay/TurnletVirtualDisplay.h"

namespace turnlet {

class RotationSession : public std::enable_shared_from_this<RotationSession> {
  struct Passkey {};

 public:
  // Makes the touch input for the presentation view (view, source display id, target display
  // id, rotation); may throw, and the error's description reaches the touch status.
  using TouchInputFactory =
      std::function<std::shared_ptr<TouchInputControl>(GpuView& view, DisplayID sourceID, DisplayID targetID,
                                                       QuarterTurn rotation)>;

  // The platform the session works on; every referenced service outlives the session.
  struct Services {
    MainLoop& loop;
    DisplayServices& displays;
    TextServices& text;
    ObjectRuntime& objects;
    Gpu& gpu;
    WindowServices& windows;
    ScreenCapture& capture;
    WorkspaceNotifications& workspace;
    Permissions& permissions;
    SystemVersion& system;
    Log& log;
    TouchInputFactory makeTouchInput;
  };

  // Everything the session stores, in the order of its design; read by the user interface and
  // by tests, changed only by the session.
  struct State {
    QuarterTurn rotation = QuarterTurn::normal;
    bool busy = false;
    std::string status = "Rotation off · Connect your iPad with Sidecar, then rotate.";
    std::optional<RenderStatistics::Snapshot> performance;
    bool touchEnabled = false;
    std::string touchStatus = "Touch · Off";
    std::shared_ptr<RotationRecovery> recovery;
    std::optional<DisplayServices::ObserverToken> screenObserver;
    std::vector<WorkspaceNotifications::ObserverToken> workspaceObservers;
    std::optional<PhysicalDisplayTopology> physicalTopology;
    bool systemSleeping = false;
    bool screensSleeping = false;
    bool shuttingDown = false;
    std::uint64_t generation = 0;
    bool needsSuspension = false;
    bool recheckPending = false;
    std::string interruptionStatus = "Waiting for Sidecar to reconnect…";
    std::optional<DisplayInfo> target;
    std::shared_ptr<TurnletVirtualDisplay> virtualDisplay;
    std::shared_ptr<CaptureStream> capture;
    std::shared_ptr<ScreenRenderer> renderer;
    std::shared_ptr<PresentationWindow> presentation;
    std::shared_ptr<RotationFade> rotationFade;
    bool didRenderFrame = false;
    Color captureBackground = Color::black();
    std::shared_ptr<SerialQueue> captureQueue;
  };

  // Timing of an apply (seconds, on the loop's clock).
  static constexpr double fadeCoverSeconds = 0.14;
  static constexpr double fadeRevealSeconds = 0.18;
  static constexpr int displayChecks = 40;
  static constexpr double checkIntervalSeconds = 0.1;
  static constexpr double sizeTolerancePoints = 2.0;
  static constexpr int contentFetches = 30;
  static constexpr double settleSeconds = 0.15;
  static constexpr int firstFrameChecks = 50;
  static constexpr int framesPerSecond = 60;
  // Bounds on platform completions that might never come (the capture's start and stop, a
  // content fetch), so that no operation stays busy for ever.
  static constexpr double captureStartTimeoutSeconds = 5;
  static constexpr double captureStopTimeoutSeconds = 3;
  static constexpr double contentFetchTimeoutSeconds = 3;

  static std::shared_ptr<RotationSession> make(Services services, RotationPreferences preferences);
  RotationSession(Passkey, Services services, RotationPreferences preferences);

  const State& state() const { return s; }
  RotationPreferences& preferences() { return prefs; }
  // Called synchronously after every change the user interface shows.
  std::function<void()> onChange;

  // Commands (RotationSession.cpp).
  Task<void> rotate();
  Task<void> reset();
  // rotate() with `turn` in place of the next one: nothing for the current turn, reset() for 0°.
  Task<void> rotateTo(QuarterTurn turn);
  void selectDisplay(std::optional<DisplayID> id);
  void setTouchEnabled(bool enabled, bool requestAccess);
  bool canReset() const;
  std::optional<DisplayID> preferredDisplayID() const;
  void updatePerformance();
  void updateTouch();

  // Applying (RotationSessionApply.cpp).
  Task<bool> applyRotation(QuarterTurn rotation, std::optional<DisplayInfo> display, bool requestAccess, bool remember);
  DisplayInfo findTarget(const std::vector<DisplayInfo>& among) const;
  static std::optional<DisplayInfo> connectedTarget(const DisplayInfo& target, const std::vector<DisplayInfo>& among);

  // Teardown (RotationSessionTeardown.cpp).
  Task<void> stopCapture();
  Task<void> tearDown();
  void finishOperation();
  Task<void> shutdown();

  // Monitoring and restoration (RotationSessionMonitoring.cpp).
  void startMonitoring();
  void checkConnection();
  Task<bool> restoreIfNeeded();
  void requestSuspension(const std::string& message);
  Task<void> cleanUpInterruptedSession();

  // Tasks the session has started and that have not ended.
  std::size_t runningTaskCount() const { return tasks.runningCount(); }

 private:
  // Holds `busy` for one operation (an apply or a clean-up) from its start until it has ended,
  // teardown included. However the operation ends (finished, failed, thrown through or its task
  // destroyed), finishOperation() runs once, so busy never outlives it.
  class BusyScope {
   public:
    explicit BusyScope(RotationSession& session) : session(&session) { session.s.busy = true; }
    BusyScope(BusyScope&& other) noexcept : session(std::exchange(other.session, nullptr)) {}
    BusyScope& operator=(BusyScope&&) = delete;
    ~BusyScope();
    void finish() { std::exchange(session, nullptr)->finishOperation(); }

   private:
    RotationSession* session;
  };

  // Applying.
  Task<void> applyTurn(QuarterTurn turn);
  Task<void> runApply(QuarterTurn rotation, std::optional<DisplayInfo> display, bool requestAccess, bool remember,
                      std::uint64_t operation, BusyScope busy, std::shared_ptr<bool> result);
  Task<void> resetPath(std::uint64_t operation, bool remember);
  Task<void> rotationPath(QuarterTurn rotation, std::optional<DisplayInfo> display, bool requestAccess, bool remember,
                          std::uint64_t operation);
  Task<void> cover(const DisplayInfo& display);
  Task<void> reveal();
  void checkOperation(std::uint64_t operation, const DisplayInfo& display);
  Task<void> waitForDisplay(DisplayID id, Size size, std::uint64_t operation, DisplayInfo target);
  Task<ShareableContent> captureContent(DisplayID id, std::uint64_t operation, DisplayInfo target);
  Task<void> startStream(std::shared_ptr<CaptureStream> stream);
  void replaceFade(std::shared_ptr<RotationFade> fade);
  void putBackStranded();
  // Whether the iPad a teardown could not put back is away from its place; forgets it when not.
  bool leftParked();
  void closeFade();

  // Monitoring.
  void checkConnectionNow();
  void screenParametersChanged();
  void sleepOrWake(WorkspaceNotification name);
  void requestRestoration();
  static Task<bool> attempt(std::weak_ptr<RotationSession> weak);
  Task<bool> restore();
  // The status line for what was thrown that is not the program's own error, logged with the
  // operation's name; called inside a catch block.
  std::string unexpectedError(const std::string& operation);
  // What was thrown, described; one that is not the program's own error is logged with the
  // operation's name. Called inside a catch block.
  std::string thrownDescription(const std::string& operation);
  // Runs one step of an operation that must go on whatever the step throws (logged).
  void tryStep(const std::string& operation, const std::function<void()>& step);

  std::vector<DisplayInfo> online() const { return DisplayInfo::online(services.displays); }
  // Tells the user interface; a refresh that throws changes nothing of the session (logged).
  void changed();

  Services services;
  RotationPreferences prefs;
  State s;
  // A restoration attempt is running. What it causes itself (its apply's render failure,
  // suspension and finish) asks for no restoration: its schedule goes on or has ended.
  bool inAttempt = false;
  // An outside event (a layout change, a wake) asked for a restoration while an attempt was
  // running: that attempt may be its run's last, so a new run starts if the run has ended by then.
  bool restorationOwed = false;
  // The iPad a teardown could not put back (the placement failed): it stays parked, so a
  // restoration is asked for, and its attempt, the next teardown or apply tries again until it is
  // back or has disconnected.
  std::optional<DisplayInfo> stranded;
  TaskScope tasks;
};

}  // namespace turnlet
