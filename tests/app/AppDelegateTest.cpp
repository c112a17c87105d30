#include <gtest/gtest.h>

#include <csignal>
#include <cmath>
#include <limits>

#include "app/AppDelegate.h"
#include "app/TurnletApp.h"
#include "host/RunLoop.h"
#include "host/SignalWatcher.h"
#include "session/SessionFixture.h"
#include "support/SimulatedProgram.h"
#include "sim/app/RecordingApplication.h"

using namespace turnlet;

namespace {

// The application on the small simulated Mac (40 × 30 main display, 16 × 12 iPad at its right),
// launched, with everything on the virtual loop. `atExit` is what was left of a rotation at the
// moment the application terminated.
struct AppFixture : SimulatedProgram {
  explicit AppFixture(const sim::WorldDescription& description = SessionFixture::smallWorld())
      : SimulatedProgram(description), delegate(makeDelegate(app)) {}
  ~AppFixture() {
    loop.advance(5);
    app.terminate();
    loop.advance(10);
  }
  void launch() { TurnletApp::runApplication(app, delegate), loop.advance(2); }
  sim::RecordingMenu& statusMenu() { return *app.statusItems.at(0)->menu; }
  sim::RecordingWindow& window() { return *app.windows.at(0); }
  sim::RecordingControl& label(std::size_t index) { return *window().controls.at(index); }
  std::string displayMenu() {
    auto& menu = *statusMenu().item("Display").submenu;
    menu.open();
    return menu.tree();
  }
  void rotate() { statusMenu().item("Rotate").click(), loop.advance(2); }
  sim::RecordingMenu& rotationMenu() { return *statusMenu().items.at(2)->submenu; }
  // Counts the applies that start from now on, as the session announces them.
  int& countApplies() {
    auto refresh = delegate->session().onChange;
    delegate->session().onChange = [this, refresh] { applies += state().status == "Rotating…", refresh(); };
    return applies;
  }
  int applies = 0;
  sim::RecordingMenuItem& startAtLogin() { return *statusMenu().items.at(12); }
  const RotationSession::State& state() { return delegate->session().state(); }
  // The presentation view's touch side, where fingers land on the iPad.
  std::shared_ptr<sim::SimTouchView> ipadFingers() {
    for (const sim::ServerWindow* w : world.windows.windows())
      if (auto view = std::dynamic_pointer_cast<sim::SimGpuView>(w->contentView())) return view->fingers();
    return nullptr;
  }

  Remains atExit;
  sim::RecordingApplication app{{}, [this] { atExit = remains(); }};
  std::shared_ptr<AppDelegate> delegate;
};

class AppTest : public ::testing::Test, public AppFixture {};

TEST_F(AppTest, LaunchBuildsTheMenusAndTheWindowInOrder) {
  launch();
  EXPECT_EQ(app.policy, ActivationPolicy::regular);
  EXPECT_EQ(app.mainMenu->tree(), "Turnlet\n  About Turnlet\n  ---\n  Quit Turnlet ⌘q\n");
  EXPECT_EQ(statusMenu().tree(),
            "Rotate ⌘r\nReset to Landscape (off)\nRotation · 0° Landscape\n  0° Landscape ✓\n  90° Portrait\n"
            "  180° Landscape\n  270° Portrait\nDisplay\n---\nFollow Main Display Brightness\nTouch Input\n---\n"
            "Performance: inactive (off)\n---\nShow Button\n---\nStart at Login\nGlobal Shortcuts ✓\n---\nQuit ⌘q\n");
  const auto& item = *app.statusItems.at(0);
  EXPECT_EQ(item.symbolName + "|" + item.accessibilityDescription, "rotate.right|Turnlet");
  EXPECT_EQ(item.toolTip, "Turnlet · Rotation off · Connect your iPad with Sidecar, then rotate.");
  EXPECT_TRUE(window().visible && window().key && window().title == "Turnlet" && window().contentSize == (Size{340, 490}));
  EXPECT_EQ(window().button("Rotate").font, (Font{18, FontWeight::medium}));
  EXPECT_EQ(window().button("Rotate").toolTip, "Rotate the iPad another 90° clockwise");
  EXPECT_EQ(label(3).text, "Software dimming · Off");
  EXPECT_EQ(label(5).text, "Touch · Off");
  EXPECT_EQ(label(6).text, "Rotation off · Connect your iPad with Sidecar, then rotate.");
  EXPECT_EQ(label(7).font, (Font{10, FontWeight::regular, true}));
  app.statusItems[0]->menu->item("Display").click();  // an item without action does nothing
  app.mainMenu->item("Turnlet").submenu->item("About Turnlet").click();
  ASSERT_EQ(app.aboutPanels.size(), 1u);
  EXPECT_EQ(app.aboutPanels[0].name + " " + app.aboutPanels[0].linkURL, "Turnlet https://turnlet.app");
}

TEST_F(AppTest, RotateFromTheMenuGoesRoundTheFourTurns) {
  launch();
  const char* rows[][2] = {{"90° · Portrait", "iPad portrait, power port at bottom"},
                           {"180° · Landscape", "iPad landscape, power port at left"},
                           {"270° · Portrait", "iPad portrait, power port at top"},
                           {"0° · Rotation off", "iPad landscape, power port at right"}};
  for (const auto& [status, description] : rows) {
    SCOPED_TRACE(status);
    rotate();
    EXPECT_EQ(label(6).text, status);
    EXPECT_EQ(app.statusItems[0]->toolTip, std::string("Turnlet · ") + status);
    EXPECT_EQ(label(0).accessibilityLabel, description);
    // The monitoring timer refreshes the performance line while rotated.
    EXPECT_EQ(statusMenu().item(state().virtualDisplay ? "Rotate" : "Performance: inactive").enabled(),
              static_cast<bool>(state().virtualDisplay));
  }
  rotate();
  EXPECT_EQ(statusMenu().items.at(8)->title.rfind("Capture ", 0), 0u);
  EXPECT_EQ(statusMenu().item("Reset to Landscape").enabled(), true);
}

TEST_F(AppTest, TheRotationSubmenuChoosesTheTurnDirectly) {
  launch();
  int& applies = countApplies();
  int fades = world.windows.animationsStarted();
  rotationMenu().item("270° Portrait").click(), loop.advance(2);
  fades = world.windows.animationsStarted() - fades;  // what one apply shows
  const int before = world.windows.animationsStarted();
  rotationMenu().item("90° Portrait").click(), loop.advance(2);
  EXPECT_EQ(applies, 2);
  EXPECT_EQ(world.windows.animationsStarted() - before, fades);
  EXPECT_EQ(label(6).text, "90° · Portrait");
  EXPECT_EQ(statusMenu().items.at(2)->title, "Rotation · 90° Portrait");
  rotationMenu().item("90° Portrait").click(), loop.advance(2);  // the current turn: nothing
  rotationMenu().item("180° Landscape").click(), loop.advance(0.05);
  ASSERT_TRUE(state().busy);
  EXPECT_EQ(rotationMenu().tree(), "0° Landscape (off)\n90° Portrait ✓ (off)\n180° Landscape (off)\n270° Portrait (off)\n");
  delegate->chooseRotation(QuarterTurn::left);  // refused while busy, as the shortcut would be
  loop.advance(2);
  EXPECT_EQ(applies, 3);
  EXPECT_EQ(label(6).text, "180° · Landscape");
  rotationMenu().item("0° Landscape").click(), loop.advance(2);
  EXPECT_EQ(label(6).text, "0° · Rotation off");
  EXPECT_EQ(rotationMenu().tree(), "0° Landscape ✓\n90° Portrait\n180° Landscape\n270° Portrait\n");
  EXPECT_EQ(applies, 4);
}

TEST(AppStartAtLogin, TheItemFollowsTheSystemsLoginItem) {
  struct Row {
    const char* name;
    LoginItemStatus before;
    bool needsApproval;
    std::optional<std::string> refusal;
    int clicks;
    LoginItemStatus after;
    const char* item;  // as the menu shows it after the clicks
    int settingsOpened;
  };
  const Row rows[] = {
      {"turned on", LoginItemStatus::notRegistered, false, {}, 1, LoginItemStatus::enabled, "Start at Login ✓", 0},
      {"turned off", LoginItemStatus::enabled, false, {}, 1, LoginItemStatus::notRegistered, "Start at Login", 0},
      {"unknown to the system", LoginItemStatus::notFound, false, {}, 1, LoginItemStatus::enabled, "Start at Login ✓", 0},
      {"waits for approval, then opens the settings", LoginItemStatus::notRegistered, true, {}, 2,
       LoginItemStatus::requiresApproval, "Start at Login (needs approval)", 1},
      {"refused", LoginItemStatus::notRegistered, false, "Operation not permitted", 1, LoginItemStatus::notRegistered,
       "Start at Login", 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    AppFixture f;
    f.world.loginItem.state = row.before;
    f.world.loginItem.needsApproval = row.needsApproval;
    f.world.loginItem.refusal = row.refusal;
    f.launch();
    for (int i = 0; i < row.clicks; ++i) f.startAtLogin().click();
    EXPECT_EQ(f.world.loginItem.state, row.after);
    EXPECT_EQ(f.statusMenu().tree().find(std::string("\n") + row.item + "\nGlobal Shortcuts") != std::string::npos, true)
        << f.statusMenu().tree();
    EXPECT_EQ(f.startAtLogin().toolTip, row.refusal.value_or(""));
    EXPECT_EQ(f.world.loginItem.settingsOpened, row.settingsOpened);
    EXPECT_EQ(f.label(6).text, "Rotation off · Connect your iPad with Sidecar, then rotate.");
  }
  AppFixture f;  // changed in the system's settings while another application was active
  f.launch();
  f.app.switchAway();
  f.world.loginItem.state = LoginItemStatus::requiresApproval;
  f.app.clickDockIcon();
  EXPECT_EQ(f.startAtLogin().title, "Start at Login (needs approval)");
  f.world.loginItem = {};
  f.world.loginItem.refusal = "Operation not permitted";
  f.startAtLogin().click();
  f.world.loginItem.refusal.reset();
  f.startAtLogin().click();  // a later success clears the refusal
  EXPECT_EQ(f.startAtLogin().toolTip + (f.startAtLogin().checked ? "✓" : ""), "✓");
}

TEST(AppShortcuts, RotateAndResetFromAnyApplicationUntilTurnedOff) {
  AppFixture f;
  f.world.hotKeys.heldElsewhere = {AppDelegate::rotateShortcut};
  f.launch();
  auto& shortcuts = f.statusMenu().item("Global Shortcuts");
  EXPECT_EQ(shortcuts.toolTip, "Control-Option-Command-R: Another application already uses this shortcut (-9878).");
  EXPECT_EQ(f.world.hotKeys.registered(), std::vector{AppDelegate::resetShortcut});
  f.world.hotKeys.heldElsewhere.clear();
  shortcuts.click(), shortcuts.click();  // off and on again: both registered now
  EXPECT_EQ(f.world.hotKeys.registered(), (std::vector{AppDelegate::rotateShortcut, AppDelegate::resetShortcut}));
  EXPECT_TRUE(f.world.hotKeys.press(AppDelegate::rotateShortcut));
  f.loop.advance(0.05);
  ASSERT_TRUE(f.state().busy);
  f.world.hotKeys.press(AppDelegate::rotateShortcut);  // refused while busy
  f.loop.advance(2);
  EXPECT_EQ(f.label(6).text, "90° · Portrait");
  f.world.hotKeys.press(AppDelegate::resetShortcut), f.loop.advance(2);
  EXPECT_EQ(f.label(6).text, "0° · Rotation off");
  shortcuts.click();
  EXPECT_FALSE(shortcuts.checked || f.world.hotKeys.press(AppDelegate::rotateShortcut));
  EXPECT_EQ(f.defaults.value(AppDelegate::shortcutsPreference), DefaultsValue{false});
  AppFixture next;  // the next launch keeps them off
  next.defaults.set(AppDelegate::shortcutsPreference, DefaultsValue{false});
  next.launch();
  EXPECT_TRUE(next.world.hotKeys.registered().empty());
}

TEST(AppTouch, TheStoredChoiceComesBackWithoutAPrompt) {
  const std::tuple<const char*, bool, const char*> rows[] = {
      {"allowed", true, "Touch · Ready when rotated"},
      {"not allowed", false, "Allow Turnlet in Privacy & Security → Device Control and Data Access, then enable touch again."}};
  for (const auto& [name, allowed, status] : rows) {
    SCOPED_TRACE(name);
    AppFixture f;
    f.defaults.set(AppDelegate::touchPreference, DefaultsValue{true});
    f.world.permissions.postEvents = {allowed, true};
    f.launch();
    EXPECT_EQ(f.world.permissions.postEvents.prompts, 0);
    EXPECT_EQ(f.state().touchEnabled, allowed);
    EXPECT_EQ(f.label(5).text, status);
    EXPECT_EQ(f.defaults.value(AppDelegate::touchPreference), DefaultsValue{true});
  }
  AppFixture f;  // a lost permission and quitting turn touch off for the run only
  f.launch();
  f.statusMenu().item("Touch Input").click();
  EXPECT_EQ(f.defaults.value(AppDelegate::touchPreference), DefaultsValue{true});
  f.rotate();
  f.world.permissions.postEvents.granted = false;
  f.loop.advance(2);
  EXPECT_FALSE(f.state().touchEnabled);
  f.statusMenu().item("Quit").click(), f.loop.advance(5);
  EXPECT_EQ(f.defaults.value(AppDelegate::touchPreference), DefaultsValue{true});
}

TEST_F(AppTest, BrightnessToggleIsStoredAndTwiceRestored) {
  launch();
  statusMenu().item("Follow Main Display Brightness").click();
  EXPECT_EQ(defaults.value(AppDelegate::brightnessPreference), DefaultsValue{true});
  EXPECT_TRUE(statusMenu().item("Follow Main Display Brightness").checked && window().button("Follow main display brightness").checked());
  window().button("Follow main display brightness").click();
  EXPECT_EQ(defaults.value(AppDelegate::brightnessPreference), DefaultsValue{false});
  EXPECT_FALSE(delegate->follower().isEnabled() || statusMenu().item("Follow Main Display Brightness").checked);
}

TEST_F(AppTest, ClosingTheWindowKeepsRunningAndTheDockIconShowsItAgain) {
  launch();
  app.closeWindow(window());
  EXPECT_FALSE(window().visible || app.terminated);
  app.clickDockIcon();
  EXPECT_TRUE(window().visible && window().key);
}

struct QuitRow {
  const char* name;
  bool busy;        // quit while an apply runs
  bool signal;      // through SIGINT/SIGTERM rather than the Quit item
  bool twice;       // a second request while the first waits
  bool terminates;  // before the operation can end
  bool fails = false;  // the shutdown ends by an exception
};

TEST(AppQuitting, QuittingPutsTheIPadBackFirst) {
  const QuitRow rows[] = {{"quit while rotated", false, false, false, true},
                          {"quit twice while rotated", false, false, true, true},
                          {"signal while rotated", false, true, false, true},
                          {"signal while busy", true, true, false, true},
                          {"quit while busy", true, false, false, false},
                          {"failing shutdown", false, false, false, true, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto f = std::make_unique<AppFixture>();
    f->launch();
    f->statusMenu().item("Rotate").click();
    f->loop.advance(row.busy ? 0.05 : 2);
    ASSERT_EQ(f->state().busy, row.busy);
    // Touch can be switched on only when idle (it is off here).
    EXPECT_EQ(f->window().button("Touch input").enabled, !row.busy);
    EXPECT_EQ(f->statusMenu().item("Touch Input").enabled(), !row.busy);
    if (row.fails) f->world.displays.failComplete = 1000, f->log.throws = true;
    const int requests = row.twice ? 2 : 1;
    for (int i = 0; i < requests; ++i) row.signal ? f->delegate->terminationSignal() : f->statusMenu().item("Quit").click();
    EXPECT_FALSE(f->app.terminated);
    f->loop.advance(5);
    EXPECT_EQ(f->app.beeps, row.terminates ? 0 : 1);
    EXPECT_EQ(f->app.terminated, row.terminates);
    EXPECT_EQ(f->app.terminateReplies, row.terminates ? 1 : 0);  // one shutdown answers every request
    if (row.terminates && !row.fails) {
      EXPECT_EQ(f->atExit.virtualDisplays, 0);
      EXPECT_EQ(f->atExit.ipadOrigin, (Point{40, 0}));
      EXPECT_FALSE(f->app.terminationPending);
    } else {
      EXPECT_EQ(f->state().status, "90° · Portrait");
    }
  }
}

// SIGTERM while a rotation is applied; before the terminate it leads to can run, a retry attempt
// has started. The program still ends, once that attempt is over, with the iPad put back.
TEST(AppQuitting, ASignalOutlastsARetryThatStartsBeforeItsTerminate) {
  AppFixture f;
  f.launch();
  f.rotate();  // 90°, remembered
  f.world.virtualDisplayClasses.modeSwitchDelaySeconds = 5;
  f.statusMenu().item("Rotate").click();
  f.loop.advance(0.5);  // the resize to 180° waits for the display's new size
  ASSERT_TRUE(f.state().busy);
  f.world.workspace.post(WorkspaceNotification::didWake);  // supersedes the apply, asks for a restoration
  f.loop.runUntilIdle();
  f.delegate->terminationSignal();
  f.world.virtualDisplayClasses.modeSwitchDelaySeconds = 0.3;
  f.loop.stall(1);  // the apply's next check and the first attempt fall due together
  f.loop.advance(10);
  EXPECT_TRUE(f.app.terminated);
  EXPECT_EQ(f.app.beeps, 0);
  EXPECT_EQ(f.atExit.virtualDisplays, 0);
  EXPECT_EQ(f.atExit.ipadOrigin, (Point{40, 0}));
}

TEST(AppDisplayMenu, ListsTheCandidatesAndTicksTheStoredChoice) {
  const Rect r(0, 0, 40, 30);
  AppFixture f({{{1, "Main Monitor", r, 1, 0, 0, false, false, "MAIN"},
                 {4, "Built-in Retina Display", Rect(-40, 0, 40, 30), 1552, 0, 0, true, false, "MAC"},
                 {SessionFixture::ipadID, "iPad", Rect(40, 0, 16, 12), 1234, 0, 0, false, false, "IPAD-1"},
                 {3, "Studio Display", Rect(0, 30, 40, 30), 1552, 0, 0, false, true, "STUDIO"},
                 {6, "Turnlet Desktop", Rect(0, -30, 40, 30), 0x544C, 0, 0, false, false, "OWN"}},
                1, {}});
  f.launch();
  const std::string automatic = "Detect Sidecar Automatically";
  EXPECT_EQ(f.displayMenu(), automatic + " ✓\niPad\nStudio Display\n");
  f.statusMenu().item("Display").submenu->item("Studio Display").click();
  EXPECT_EQ(f.defaults.value("preferredDisplayDeviceID"), DefaultsValue{std::string("STUDIO")});
  EXPECT_EQ(f.displayMenu(), automatic + "\niPad\nStudio Display ✓\n");
  f.delegate->selectDisplay((std::int64_t{1} << 32) + SessionFixture::ipadID);  // no display has this tag
  EXPECT_EQ(f.displayMenu(), automatic + "\niPad\nStudio Display ✓\n");
  f.world.displays.disconnect(3);
  EXPECT_EQ(f.displayMenu(), automatic + "\niPad\n");
  f.statusMenu().item("Display").submenu->item(automatic).click();
  f.rotate();
  ASSERT_TRUE(f.state().virtualDisplay);
  EXPECT_EQ(f.displayMenu(), automatic + " ✓ (off)\niPad (off)\n");
  f.delegate->selectDisplay(SessionFixture::ipadID);  // ignored while rotated
  EXPECT_FALSE(f.defaults.value("preferredDisplayDeviceID"));
}

TEST(AppDrawing, TheIPadOutlineForEachTurnAndNothingWhenTooSmall) {
  const std::pair<QuarterTurn, const char*> rows[] = {{QuarterTurn::normal, "rotate 0"},
                                                      {QuarterTurn::right, "rotate -1.5708"},
                                                      {QuarterTurn::inverted, "rotate -3.14159"},
                                                      {QuarterTurn::left, "rotate -4.71239"}};
  for (const auto& [turn, rotation] : rows) {
    sim::RecordingControl view(sim::RecordingControl::Kind::view, "", {});
    IPadOrientationView drawing(std::shared_ptr<CustomView>(&view, [](CustomView*) {}));
    drawing.setRotation(turn);
    drawing.setRotation(turn);  // the same turn again: no redraw
    EXPECT_EQ(view.redraws, turn == QuarterTurn::normal ? 0 : 1);
    EXPECT_EQ(view.draw({216, 166}),
              (std::vector<std::string>{"save", "translate 108 83", rotation,
                                        "stroke-rounded -57 -42.75 114 85.5 8 secondaryLabel 1.6",
                                        "line 64 0 75 0 secondaryLabel 1.8 round",
                                        "fill-rounded 56.5 -2.5 7.5 5 1.2 windowBackground",
                                        "stroke-rounded 56.5 -2.5 7.5 5 1.2 secondaryLabel 1.2", "restore"}));
    EXPECT_TRUE(view.draw({82, 300}).empty());
    EXPECT_EQ(view.draw({300, 83}).size(), 8u);
  }
}

TEST(AppPerformance, TheLineRoundsAndNeverShowsInfinity) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::tuple<RenderStatistics::Snapshot, const char*, const char*> rows[] = {
      {{59.6, 60.4, 30, 3.25}, "Capture 60 · Present 60 · New 30 fps · GPU 3.2 ms", "Capture 60 · Present 60 fps"},
      {{inf, std::nan(""), inf, inf}, "Capture 0 · Present 0 · New 0 fps · GPU 0.0 ms", "Capture 0 · Present 0 fps"}};
  for (const auto& [snapshot, item, label] : rows) {
    EXPECT_EQ(AppDelegate::performanceItemTitle(snapshot), item);
    EXPECT_EQ(AppDelegate::performanceLabelText(snapshot), label);
  }
  EXPECT_EQ(AppDelegate::performanceItemTitle(std::nullopt), "Performance: inactive");
}

// A day compressed: the remembered rotation comes back by itself, the user turns further, taps and
// scrolls a window on the turned desktop, the Mac sleeps and wakes, the iPad leaves and returns,
// the main display changes resolution and back, brightness following goes on, and the user quits.
TEST(AppDay, EndsWithTheLayoutAsBeforeAndTheChoicesRemembered) {
  auto description = SessionFixture::smallWorld();
  constexpr ProcessID editor = 700;
  description.applications = {{editor, "Editor", {{7, "Notes", Rect(40, 0, 16, 12), 1, 0, 2, true, true, {}}}}};
  AppFixture f(description);
  RotationPreferences(f.defaults).remember(QuarterTurn::right, SessionFixture::ipadUUID);
  RotationPreferences(f.defaults).setLastDeviceID(SessionFixture::ipadUUID);
  const auto before = f.world.displays.displays();
  f.launch();
  f.loop.advance(5);
  EXPECT_EQ(f.label(6).text, "90° · Portrait");
  EXPECT_EQ(f.statusMenu().items.at(2)->title, "Rotation · 90° Portrait");  // restored by itself
  f.rotate();
  const auto expectBack = [&](const char* when) {
    SCOPED_TRACE(when);
    f.loop.advance(15);
    EXPECT_EQ(f.label(6).text, "180° · Landscape");
    EXPECT_EQ(f.label(0).accessibilityLabel, "iPad landscape, power port at left");
  };
  expectBack("rotated");
  f.statusMenu().item("Touch Input").click();
  f.loop.advance(1);
  auto fingers = f.ipadFingers();
  ASSERT_TRUE(fingers);
  fingers->touchDown(1, {8, 6});
  f.loop.advance(0.05);
  fingers->touchUp(1);
  fingers->touchDown(1, {6, 2});
  fingers->touchDown(2, {10, 2});
  for (int step = 1; step <= 10; ++step) {
    f.loop.advance(1.0 / 60);
    fingers->touchMove(1, {6, 2 + step * 0.8});
    fingers->touchMove(2, {10, 2 + step * 0.8});
  }
  fingers->touchUp(1), fingers->touchUp(2);
  f.loop.advance(3);
  const auto posted = f.world.inputEvents.postedTo(editor);
  const auto has = [&](auto matches) { return std::any_of(posted.begin(), posted.end(), matches); };
  EXPECT_TRUE(has([](const auto& e) { return !e.isScroll && e.type == MouseEventType::leftMouseDown; }));
  EXPECT_TRUE(has([](const auto& e) { return e.isScroll; }));
  f.world.workspace.post(WorkspaceNotification::willSleep);
  f.loop.advance(2);
  f.world.workspace.post(WorkspaceNotification::didWake);
  expectBack("after waking");
  f.world.displays.disconnect(SessionFixture::ipadID);
  f.loop.advance(5);
  f.world.displays.reconnect(SessionFixture::ipadID);
  expectBack("after reconnecting");
  f.world.displays.setBounds(1, Rect(0, 0, 40, 24));
  expectBack("after a resolution change");
  f.world.displays.setBounds(1, Rect(0, 0, 40, 30));
  expectBack("after the resolution is back");
  f.statusMenu().item("Follow Main Display Brightness").click();
  f.loop.advance(1);
  f.statusMenu().item("Quit").click();
  f.loop.advance(10);
  ASSERT_TRUE(f.app.terminated);
  EXPECT_EQ(f.atExit.virtualDisplays, 0);
  const auto after = f.world.displays.displays();
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i].bounds, before[i].bounds) << before[i].name;
  EXPECT_EQ(f.atExit.ipadOrigin, (Point{40, 0}));
  RotationPreferences preferences(f.defaults);
  EXPECT_EQ(preferences.rotation(SessionFixture::ipadUUID), QuarterTurn::inverted);
  EXPECT_EQ(f.defaults.value(AppDelegate::brightnessPreference), DefaultsValue{true});
}

// A real signal reaches the loop as a posted call, never running work in the handler.
TEST(AppSignals, SigtermIsPostedToTheLoop) {
  host::RunLoop loop;
  int received = 0;
  host::SignalWatcher watcher(loop, [&](int signal) { received = signal, loop.stop(); });
  ASSERT_EQ(::raise(SIGTERM), 0);
  loop.run();  // returns once the posted call has run
  EXPECT_EQ(received, SIGTERM);
}

}  // namespace
