// Random sequences of commands and faults, each followed by a quiet period, leave the session showing
// the saved rotation or nothing. TURNLET_FAULT_SEQUENCES: how many (1,000); TURNLET_FAULT_SEED: one.
// Throughout, a schedule runs at most four attempts without a new outside event, no display
// configuration stays open, touch is on exactly while its status says so (and its input is installed
// exactly while a rotation shows), and once the faults stop the status never says the restore
// failed while the iPad is back and nothing is rotated. Any platform call may throw; the iPad may
// drop and come back during a run's last attempt. At rest nothing is busy, every reconnection or
// wake has had an attempt after it, a command is accepted, and Quit still puts the iPad back. In
// odd-numbered sequences nothing settles the session once the faults stop (no wake, no
// reconnection): there only its own retries can mend things, and no iPad may stay parked.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <random>
#include <regex>
#include <string>

#include "session/RotationSessionTimer.h"
#include "session/SessionFixture.h"

using namespace turnlet;

namespace {

bool inCatalogue(const std::string& status) {
  static const std::regex known(
      "Rotation off · Connect your iPad with Sidecar, then rotate\\.|Rotating…|(90|270)° · Portrait|180° · Landscape|"
      "0° · Rotation off|Restoring (90|180|270)° for iPad…|Waiting for the remembered iPad · .+|"
      "Allow Turnlet in Screen & System Audio Recording to restore (90|180|270)°\\.|"
      "(Waiting for Sidecar to reconnect…|Restoring Sidecar after wake…|Reconnecting Sidecar · .+|Fault\\.|"
      "Sleeping · Rotation will resume when Sidecar returns|Connect your iPad using Sidecar, then press Rotate\\. .+|"
      "Allow Turnlet in System Settings → Privacy & Security → Screen & System Audio Recording, then reopen this app\\.|"
      "macOS (could not create the rotated desktop|did not activate the requested rotated display size|did not expose "
      "the rotated desktop to ScreenCaptureKit)\\.|The rotated desktop (is not available for capture|did not produce an "
      "image\\. The Sidecar layout has been restored)\\.|The Sidecar display is no longer connected\\.|"
      "macOS (rejected|could not).+\\(-?[0-9]+\\)\\.|The private virtual display API.+|"
      "Turnlet hit an unexpected error \\(.+\\)\\.)( Restore failed: .+)?");
  return std::regex_match(status, known);
}

const PlatformError fault("Sim", -1, "Fault.");

// The platform calls a throw may be armed at; "" is whichever comes next.
const char* const platformCalls[] = {
    "", "onlineDisplayList", "bounds", "vendorNumber", "isBuiltin", "isInMirrorSet", "mainDisplayID", "uuidString",
    "currentModePixelSize", "screens", "beginConfiguration", "configureOrigin", "completeConfiguration",
    "cancelConfiguration", "preflightScreenCapture", "preflightPostEvent", "requestPostEvent", "getShareableContent",
    "makeSampleQueue", "makeStream", "makeWindow", "windowLevelForKey", "runAnimationGroup", "reduceMotion"};
// And those that only quitting makes.
const char* const quitCalls[] = {"removeScreenParametersObserver", "removeObserver", "stopTouch", "runAnimationGroup"};

class FaultSequence : public SessionFixture {
 public:
  explicit FaultSequence(unsigned seed) : rng(seed), unsettled(seed % 2 == 1) {
    RotationPreferences(defaults).remember(QuarterTurn::inverted, "OTHER");
    // Half the sequences start with a rotation remembered from an earlier run.
    if (pick(2)) RotationPreferences(defaults).remember(allQuarterTurns[static_cast<std::size_t>(pick(4))], ipadUUID);
    lastSaved = RotationPreferences(defaults).rotation(ipadUUID);
    // Half with touch on, a quarter of those with a throw armed at touch input from the start.
    if (pick(2)) session->setTouchEnabled(true, false);
    if (state().touchEnabled && !pick(4)) throws.arm(pick(2) ? "stopTouch" : "makeTouchInput", thrown(), pick(2));
    session->onChange = [this] {
      expect(inCatalogue(state().status), "status outside the catalogue: " + state().status);
    };
    session->startMonitoring();
  }

  int pick(std::size_t n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(rng); }

  void expect(bool good, const std::string& what) {
    if (!good) failures.push_back(what);
  }

  void check(const char* where) {
    const auto saved = session->preferences().rotation(ipadUUID);
    expect(saved == lastSaved || commandRan, std::string(where) + ": saved rotation changed without a command");
    lastSaved = saved;
    commandRan = std::any_of(commands.begin(), commands.end(), [](const TaskHandle& h) { return !h.isDone(); });
    expect(session->preferences().rotation("OTHER") == QuarterTurn::inverted, "another device's entry changed");
    expect(world.virtualDisplayClasses.liveDisplayObjects() <= 1 && world.capture.maxRunningStreams() <= 1,
           std::string(where) + ": two virtual displays or started streams");
    // A rotation shown, or an iPad newly left parked, may start a schedule of its own later.
    const bool parked = !state().busy && !state().virtualDisplay && world.displays.find(ipad) &&
                        world.displays.find(ipad)->bounds.origin != Point{40, 0};
    if ((!state().busy && state().rotation != QuarterTurn::normal) || (parked && !wasParked)) outsideEvent();
    wasParked = parked;
    expect(attempts() - attemptsBefore <= 4, std::string(where) + ": more than four attempts without an outside event");
    expect(!world.displays.configurationOpen(), std::string(where) + ": a display configuration left open");
    // Touch is on exactly while its status says so; its input is installed exactly while a rotation shows.
    const auto& st = state();
    const bool showing = !st.busy && st.rotation != QuarterTurn::normal && st.presentation && st.virtualDisplay;
    const bool installed = st.presentation && st.presentation->touchInput();
    const char* const on = st.busy ? paused : showing ? swiping : ready;
    expect(st.touchEnabled ? st.touchStatus == on && installed == showing
                           : !installed && st.touchStatus != paused && st.touchStatus != swiping && st.touchStatus != ready,
           std::string(where) + ": touch " + (st.touchEnabled ? "on" : "off") + (installed ? ", installed" : "") +
               ", says " + st.touchStatus);
    if (st.recovery && st.recovery->generation() != runGeneration)
      runGeneration = st.recovery->generation(), runStart = attempts();
    // Once the faults have stopped: while they act, a put-back may fail before it could even look.
    const bool back = !state().busy && state().rotation == QuarterTurn::normal && !state().virtualDisplay &&
                      world.displays.find(ipad) && world.displays.find(ipad)->bounds.origin == Point{40, 0};
    expect(!back || std::string(where) == "events" || state().status.find("Restore failed") == std::string::npos,
           std::string(where) + ": says the restore failed with the iPad back: " + state().status);
  }

  std::exception_ptr thrown() {
    return pick(2) ? std::make_exception_ptr(std::bad_alloc())
                   : std::make_exception_ptr(PlatformException("NSInternalInconsistencyException", "Fault."));
  }

  std::uint64_t attempts() const { return state().recovery ? state().recovery->attemptCount() : attemptsBefore; }
  void outsideEvent() { attemptsBefore = attempts(); }
  // A reconnection or a wake: an attempt must start after it.
  void owe() { owedAt = attempts(); }

  // The rotation is shown: a render failure now is an outside event.
  bool shown() const { return !state().busy && state().rotation != QuarterTurn::normal; }

  void step() {
    switch (pick(21)) {
      case 0: case 1: command(session->rotate()); break;
      case 2: command(session->reset()); break;
      case 3: world.workspace.post(pick(2) ? WorkspaceNotification::willSleep : WorkspaceNotification::screensDidSleep); break;
      case 4: world.workspace.post(pick(2) ? WorkspaceNotification::didWake : WorkspaceNotification::screensDidWake), outsideEvent(), owe(); break;
      case 5:
        world.displays.find(ipad) ? world.displays.disconnect(ipad) : void(ipad = world.displays.reconnect(ipad));
        outsideEvent(), owe();
        break;
      case 6:
        outsideEvent(), owe();
        if (world.displays.find(extra)) world.displays.disconnect(extra);
        else if (extra) extra = world.displays.reconnect(extra);
        else world.displays.connect({extra = 90, "Studio", Rect(0, 30, 20, 10), 1552, 0, 0, false, false, "STUDIO"});
        break;
      case 7: {
        auto& c = world.capture;
        const int which = pick(8);
        (which == 0 ? c.fetchFault.error : which == 1 ? c.startFault.error : which == 2 ? c.stopFault.error
         : which == 3 ? c.addOutputError : c.removeOutputError) = fault;
        if (which == 5) c.startFault.neverCompletes = true;
        if (which == 6) c.fetchFault.extraDelaySeconds = c.startFault.extraDelaySeconds = c.stopFault.extraDelaySeconds = 0.3;
        if (which == 7) c.fetchesBeforeListed = 40;
        break;
      }
      case 8: pick(2) ? world.virtualDisplayClasses.raiseAt("CGVirtualDisplay applySettings:", "Raise", "Fault.")
                      : void(world.virtualDisplayClasses.modeSwitchDelaySeconds = 5); break;
      case 9:
        // Where nothing settles the session, a layout that fails for good would keep the iPad
        // parked whatever the session did; there the failure is a moment's.
        if (unsettled) rejectLayoutBriefly();
        else pick(2) ? void(world.displays.failComplete = 1000) : void(world.displays.failOrigin = std::pair(pick(2), 1001));
        break;
      case 10:
        if (shown()) outsideEvent();
        if (state().renderer && state().renderer->onFailure) state().renderer->onFailure(fault);
        break;
      case 11: world.permissions.screenCapture.granted = !world.permissions.screenCapture.granted; break;
      case 12: world.permissions.postEvents.granted = !world.permissions.postEvents.granted; break;
      case 13: session->setTouchEnabled(!state().touchEnabled, pick(2)), touchError = pick(4) ? std::nullopt : std::optional<std::string>("Fault."); break;
      case 14: session->selectDisplay(std::nullopt), outsideEvent(); break;
      case 15: world.capture.deliversFrames = !world.capture.deliversFrames; break;
      case 16:  // a render failure that persists: every command buffer fails
        if (shown()) outsideEvent();
        world.gpu.executionError = fault;
        break;
      case 17: rejectLayoutBriefly(); break;  // a put-back (or parking) that fails once
      case 18: {
        // A quarter aim at touch input, which only a rotation shown with touch on calls.
        const char* call = pick(4) ? platformCalls[pick(std::size(platformCalls))] : pick(2) ? "stopTouch" : "makeTouchInput";
        const int skip = *call ? pick(2) : pick(20);
        throws.arm(call, thrown(), skip);
        break;
      }
      case 19: flap(); break;
      default:  // the next display list call throws what is no Error
        world.displays.betweenListCalls = [] { throw std::bad_alloc(); };
        break;
    }
  }

  void command(Task<void> task) {
    commands.push_back(spawn(loop, std::move(task), &log)), commandRan = true, outsideEvent();
    owedAt.reset();  // the user acted: a restoration may rightly give way
  }

  // The iPad drops and comes back under a new id, at once or a moment later; during a run's last
  // attempt when one comes within 10 s.
  void flap() {
    for (int i = 0; i < 200 && !(state().busy && state().recovery->isRunning() && attempts() - runStart == 4); ++i)
      loop.advance(0.05), check("events");
    if (world.displays.find(ipad)) {
      world.displays.disconnect(ipad);
      if (pick(2)) pause(gaps[pick(6)]);
    }
    // Reading the change may fail too: an unreadable change is still one.
    if (!pick(3)) throws.arm("onlineDisplayList", thrown());
    ipad = world.displays.reconnect(ipad);
    outsideEvent(), owe();
  }

  void rejectLayoutBriefly() {
    world.displays.failComplete = 1000;
    loop.schedule(0.3, [this, code = DisplayError{1000}] {
      if (world.displays.failComplete == code) world.displays.failComplete.reset();
    });
  }

  // Faults off, awake, the iPad present, and time for every retry. Where nothing settles the
  // session, it is woken and the iPad reconnected while the faults still act, up to 12 s before
  // they stop.
  void quiet() {
    if (unsettled) {
      if (state().systemSleeping || state().screensSleeping) {
        for (auto wake : {WorkspaceNotification::didWake, WorkspaceNotification::screensDidWake}) world.workspace.post(wake);
        outsideEvent(), owe();
      }
      if (!world.displays.find(ipad)) ipad = world.displays.reconnect(ipad), outsideEvent(), owe();
      if (pick(2)) flap();
      // Half the time long enough for a whole schedule to meet the faults that persist.
      pause(pick(2) ? 12 : gaps[pick(static_cast<int>(std::size(gaps)))]);
    }
    world.capture.clearFaults();
    world.virtualDisplayClasses.stopRaising();
    world.virtualDisplayClasses.modeSwitchDelaySeconds = 0.3;
    world.displays.failComplete.reset(), world.displays.failOrigin.reset();
    world.gpu.executionError.reset();
    world.displays.betweenListCalls = nullptr;
    throws.error = nullptr;
    if (!unsettled) {
      if (!world.displays.find(ipad)) ipad = world.displays.reconnect(ipad);
      for (auto wake : {WorkspaceNotification::didWake, WorkspaceNotification::screensDidWake}) world.workspace.post(wake);
      outsideEvent(), owe();
    }
    settle("quiet");
  }

  void pause(double gap) {
    for (double t = 0; t < gap; t += 0.05) loop.advance(std::min(0.05, gap - t)), check("events");
    loop.runUntilIdle();
    check("events");
  }

  void settle(const char* where) {
    for (int i = 0; i < 30; ++i) loop.advance(0.5), check(where);
  }

  void verifyRotatedOrNot(bool quit = false) {
    const auto& st = state();
    const Rect ipadBounds = world.displays.find(ipad)->bounds;
    const auto remembered = session->preferences().rotation(ipadUUID);
    expect(!st.busy && !st.needsSuspension, "busy or suspension pending at rest");
    if (st.rotation != QuarterTurn::normal) {
      const sim::SimDisplay* vd = st.virtualDisplay ? world.displays.find(st.virtualDisplay->displayID()) : nullptr;
      Rect others = Rect::null();
      for (const sim::SimDisplay& d : world.displays.displays())
        if (d.id != ipad) others = others.united(d.bounds);
      expect(vd && vd->bounds.size == sourceSize(st.rotation, Size{16, 12}) &&
                 world.virtualDisplayClasses.liveDisplayObjects() == 1,
             "rotated without one virtual display of the turned size");
      expect(ipadBounds.maxX() == others.minX() + 1 && ipadBounds.maxY() == others.minY() + 1, "iPad not parked");
      expect(world.windows.windows().size() == 1 && world.capture.runningStreams() == 1, "not one window and stream");
      expect(remembered == st.rotation, "shows a rotation other than the saved one");
      return;
    }
    expect(world.virtualDisplayClasses.liveDisplayObjects() == 0 && world.capture.liveStreams() == 0 &&
               world.windows.windows().empty() && !st.rotationFade && !st.presentation,
           "not rotated, yet something of a rotation is left");
    expect(ipadBounds.origin == Point{40, 0}, "not rotated, yet the iPad is not back");
    const bool toRestore = remembered && *remembered != QuarterTurn::normal && world.permissions.screenCapture.granted;
    expect(quit || !toRestore || !owedAt || attempts() > *owedAt, "a reconnection or wake had no attempt after it");
    // Unsettled, the retries may have run out while the faults still acted. Settled with nothing to
    // restore, no line waits for anything.
    expect(quit || unsettled || !remembered || *remembered == QuarterTurn::normal ||
               !world.permissions.screenCapture.granted,
           "the remembered rotation was not restored");
    expect(quit || unsettled || toRestore || !std::regex_match(st.status, std::regex("(Waiting|Restoring|Sleeping).*")),
           "nothing to restore, yet the status waits: " + st.status);
  }

  void runSequence() {
    const int events = 1 + pick(12);
    for (int i = 0; i < events; ++i) {
      step();
      pause(gaps[pick(static_cast<int>(std::size(gaps)))]);
    }
    quiet();
    if (!unsettled) {
      // The settling event: a wake or a reconnection.
      if (pick(2)) {
        world.workspace.post(WorkspaceNotification::screensDidWake);
      } else {
        world.displays.disconnect(ipad);
        loop.advance(0.3);
        ipad = world.displays.reconnect(ipad);
      }
      outsideEvent(), owe();
      settle("settled");
    }
    verifyRotatedOrNot();
    // Not stuck: Rotate or Reset is accepted; Quit follows at once or once it has ended.
    const std::uint64_t generation = state().generation;
    command(pick(2) ? session->rotate() : session->reset());
    pause(gaps[pick(std::size(gaps))]);
    expect(state().generation > generation, "a command was refused at rest");
    // Quitting puts the iPad back whatever it meets; after it nothing reacts.
    if (pick(2)) throws.arm(quitCalls[pick(std::size(quitCalls))], thrown());
    const TaskHandle quit = spawn(loop, session->shutdown(), &log);
    loop.advance(10);
    expect(quit.isDone() && state().rotation == QuarterTurn::normal, "shutdown did not end unrotated");
    verifyRotatedOrNot(true);
    const std::string status = state().status;
    world.workspace.post(WorkspaceNotification::didWake);
    world.displays.disconnect(ipad);
    loop.advance(10);
    expect(state().status == status && session->runningTaskCount() == 0, "reacted after shutdown");
    for (const std::string& line : log.lines())
      expect(!line.starts_with("A task nobody awaited failed"), "the session let through: " + line);
  }

  static constexpr double gaps[] = {0, 0.004, 0.011, 0.03, 0.07, 0.15, 0.4, 1.2, 3};
  static constexpr const char* paused = "Touch · Paused while rotating";
  static constexpr const char* swiping = "Touch · Swipe to scroll · Hold then move to drag";
  static constexpr const char* ready = "Touch · Ready when rotated";
  std::mt19937 rng;
  const bool unsettled;
  std::uint64_t attemptsBefore = 0;
  bool wasParked = false;
  DisplayID ipad = ipadID;
  DisplayID extra = 0;
  std::vector<TaskHandle> commands;  // rotate and reset, the only ways the saved rotation changes
  bool commandRan = false;
  std::optional<QuarterTurn> lastSaved;
  std::uint64_t runGeneration = 0, runStart = 0;  // the retry run last seen, and the attempts before it
  std::optional<std::uint64_t> owedAt;             // the attempts made by the last reconnection or wake
  std::vector<std::string> failures;
};

TEST(RotationSessionFaults, RandomSequencesEndRotatedAsSavedOrWithNothingLeft) {
  const char* one = std::getenv("TURNLET_FAULT_SEED");
  const char* count = std::getenv("TURNLET_FAULT_SEQUENCES");
  const unsigned first = one ? std::stoul(one) : 0, end = one ? first + 1 : count ? std::stoul(count) : 1000;
  int failed = 0;
  for (unsigned seed = first; seed < end; ++seed) {
    FaultSequence sequence(seed);
    try {
      sequence.runSequence();
    } catch (const std::exception& e) {
      sequence.failures.push_back(std::string("the session let through: ") + e.what());
    }
    if (!sequence.failures.empty() && ++failed <= 5)
      ADD_FAILURE() << "seed " << seed << " (replay with TURNLET_FAULT_SEED=" << seed << "): " << sequence.failures.front();
  }
  EXPECT_EQ(failed, 0);
}

}  // namespace
