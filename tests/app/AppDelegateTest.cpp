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
            "Rotate ⌘r\nReset to Landscape (off)\nDisplay\n---\nFollow Main Display Brightness\nTouch Input\n---\n"
            "Performance: inactive (off)\n---\nShow Button\nQuit ⌘q\n");
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
  EXPECT_EQ(statusMenu().items.at(7)->title.rfind("Capture ", 0), 0u);
  EXPECT_EQ(statusMenu().item("Reset to Landscape").enabled(), true);
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

}  // namespace

namespace {

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

}  // namespace

namespace {

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
