#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>

#include <tuple>

#include "host/IcuTextServices.h"
#include "qt/QtApplication.h"
#include "sim/system/LoopSerialQueue.h"
#include "sim/system/ManualLoop.h"
#include "sim/system/MemoryDefaults.h"
#include "sim/app/RecordingApplication.h"
#include "sim/system/RecordingLog.h"
#include "simulator/Simulator.h"

using namespace turnlet;

namespace {

constexpr DisplayID mainID = 1, ipadID = 2;
constexpr WindowNumber editor = 9;

// The program on a 200 × 150 main display with a 160 × 120 iPad at its right (both two pixels a
// point), over the application `App`, everything on the virtual loop.
template <class App>
struct Program {
  static sim::WorldDescription world() {
    return {{{mainID, "Mac", Rect(0, 0, 200, 150), 1552, 0, 0, true, false, "MAC"},
             {ipadID, "iPad", Rect(200, 0, 160, 120), 1234, 0, 0, false, false, "IPAD"}},
            mainID,
            {{700, "Editor", {{editor, "Notes", Rect(220, 10, 90, 60), 1, 0, 28, true, true, {}}}}}};
  }
  template <class... Args>
  explicit Program(Args&... args) : application(args...) {
    s.world.gpu.setWorkerQueue(std::make_unique<sim::LoopSerialQueue>("gpu", loop));
    s.world.gpu.setDisplayQueue(std::make_unique<sim::LoopSerialQueue>("display", loop));
  }
  ~Program() {
    loop.advance(5);
    application.terminate();
    loop.advance(10);
  }

  sim::ManualLoop loop;
  sim::LoopQueueFactory queues{loop};
  host::IcuTextServices text;
  sim::MemoryDefaults defaults;
  sim::RecordingLog log;
  App application;
  simulator::Simulator s{{loop, application, queues, text, defaults, log}, world()};
};

// Launched with touch input on; the window shows the displays one to one on Qt's offscreen
// platform.
struct SimulatorFixture : Program<sim::RecordingApplication> {
  SimulatorFixture() {
    s.window().desktop().setScale(1.0);
    s.window().desktop().setLabelsShown(false);
    s.window().resize(900, 500);
    s.window().show();
    s.launch();
    loop.advance(2);
    menu("Touch Input");
    loop.advance(1);
  }
  void menu(const std::string& item) { application.statusItems.at(0)->menu->item(item).click(); }
  void mouse(QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(at), QPointF(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, modifiers);
    QApplication::sendEvent(&s.window().desktop(), &event);
  }
  void wheel(QPoint position, QPoint angle) {
    QWheelEvent event{QPointF(position), QPointF(position), QPoint(), angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false};
    QApplication::sendEvent(&s.window().desktop(), &event);
  }
  std::shared_ptr<sim::SimTouchView> fingers() {
    for (const sim::ServerWindow* w : s.world.windows.windows())
      if (auto view = std::dynamic_pointer_cast<sim::SimGpuView>(w->contentView())) return view->fingers();
    return nullptr;
  }
  const RotationSession::State& state() const { return s.delegate().session().state(); }
};

// The program as turnlet runs it, on Qt's widgets: the application's menus and status item in
// the simulator window's menu bar (which takes `bar`), the control window placed beside the
// simulator window.
struct QtSimulatorFixture : Program<qt::QtApplication> {
  explicit QtSimulatorFixture(QMenuBar* bar = new QMenuBar) : Program(*bar) {
    application.onBeep = [this](const std::string& refused) { s.beeped(refused); };
    s.window().adoptMenuBar(bar);
    // At the right of the offscreen platform's 800 × 800 screen (its windows have 2-pixel frames),
    // with room for the control window at its left only.
    s.window().resize(440, 320);
    s.window().move(356, 0);
    application.setWindowPlacement([this](QWidget& window) { s.window().placeBeside(window); });
    s.window().show();
    s.launch();
    loop.advance(2);
  }
  QWidget& controlWindow() { return application.windows().at(0)->widget(); }
  // Makes `window` the active one and types `key` with the modifiers (Ctrl alone by default) into it.
  void type(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    window.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &window);
    QTest::keyClick(&window, key, modifiers);
  }
};

// The source pixel that the iPad's picture shows at pixel (x, y), for a source sw pixels wide and
// sh high, turned by a quarter turn.
QPoint turned(QuarterTurn turn, int x, int y, int sw, int sh) {
  switch (turn) {
    case QuarterTurn::right: return {sw - 1 - y, x};
    case QuarterTurn::inverted: return {sw - 1 - x, sh - 1 - y};
    case QuarterTurn::left: return {y, sh - 1 - x};
    default: return {x, y};
  }
}

// For each turn in the order the Rotate command goes: the iPad's part of the window is, pixel for
// pixel, its picture, at its physical place beside the main display (not where the program
// parks it), and that picture is the turned desktop's turned; a drag of the mouse on an
// application window's title bar moves that window by the same distance on the turned desktop.
TEST(SimulatorWindow, TheIPadShowsTheTurnedDesktopAndTheMouseDragsItsWindows) {
  for (bool held : {false, true}) {
  SimulatorFixture f;
  f.s.window().desktop().setHeld(held);
  // Held, the iPad is drawn turned with the desktop: it reads upright, pixel for pixel.
  const auto turned = [held](QuarterTurn turn, int x, int y, int w, int h) {
    return held ? QPoint(x, y) : ::turned(turn, x, y, w, h);
  };
  std::map<QuarterTurn, QImage> cased;  // the iPad with its case, as the window shows it
  for (QuarterTurn turn : {QuarterTurn::right, QuarterTurn::inverted, QuarterTurn::left, QuarterTurn::normal}) {
    SCOPED_TRACE(testing::Message() << rawValue(turn) << (held ? "° held" : "° lying"));
    f.menu("Rotate");
    f.loop.advance(3);
    ASSERT_EQ(f.state().rotation, turn);
    ASSERT_FALSE(f.state().rotationFade || f.s.delegate().follower().isEnabled());
    const auto source = f.state().virtualDisplay ? f.state().virtualDisplay->displayID() : ipadID;
    const Rect desktop = f.s.world.displays.bounds(source);
    f.s.world.windows.appWindow(editor)->bounds = Rect(desktop.minX() + 10, desktop.minY() + 10, 90, 60);
    f.loop.advance(0.1);

    const QImage shot = f.s.window().desktop().grab().toImage();
    const QRect r = f.s.window().desktop().pictureRect(ipadID);
    cased[turn] = shot.copy(r.adjusted(-8, -8, 8, 8));
    QPainter(&cased[turn]).fillRect(QRect(QPoint(8, 8), r.size()), Qt::black);  // the case alone
    EXPECT_EQ(r.topLeft(), f.s.window().desktop().pictureRect(mainID).topLeft() + QPoint(400, 0));
    const auto own = f.s.world.compositor.draw(ipadID), seen = f.s.world.compositor.draw(source);
    ASSERT_EQ(r.size(), held ? QSize(int(seen->width()), int(seen->height())) : QSize(int(own->width()), int(own->height())));
    // The source pixel the picture shows at `p`.
    const auto sourceAt = [&](QPoint p) { return turned(turn, p.x(), p.y(), int(seen->width()), int(seen->height())); };
    int wrong = 0, wrongTurned = 0;
    for (int y = 0; y < r.height(); ++y)
      for (int x = 0; x < r.width(); ++x) {
        const QRgb at = shot.pixel(r.left() + x, r.top() + y) | 0xFF000000u;
        const QPoint p = sourceAt({x, y});
        wrong += !held && at != (own->pixel(x, y) | 0xFF000000u);
        wrongTurned += at != (seen->pixel(p.x(), p.y()) | 0xFF000000u);
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(wrongTurned, 0);
    // Fitted smaller, the picture fills its place to the edges: no black bar, nothing left bare.
    f.s.window().desktop().setScale(0.37);
    const QImage small = f.s.window().desktop().grab().toImage();
    const QRect fit = f.s.window().desktop().pictureRect(ipadID);
    int bare = 0;
    for (int i = 0; i < fit.width() + fit.height(); ++i) {
      const QPoint a = i < fit.width() ? QPoint(fit.left() + i, fit.top()) : QPoint(fit.left(), fit.top() + i - fit.width());
      for (QPoint p : {a, fit.bottomRight() - (a - fit.topLeft())})
        bare += (small.pixel(p) & 0xFFFFFFu) == 0 || small.pixel(p) == qRgb(46, 48, 54);
    }
    EXPECT_EQ(bare, 0);
    // The Mac's picture, taken again while small, is taken at its full size again at one to one,
    // though nothing on it changes meanwhile.
    for (bool animated : {true, false}) f.s.world.compositor.animateBackground = animated, f.loop.advance(0.05);
    f.s.window().desktop().setScale(1.0);
    f.loop.advance(0.05);
    const QImage whole = f.s.window().desktop().grab().toImage();
    const QRect m = f.s.window().desktop().pictureRect(mainID);
    const auto mac = f.s.world.compositor.draw(mainID);
    int blurred = 0;
    for (int y = 0; y < m.height(); ++y)
      for (int x = 0; x < m.width() / 2; ++x)  // clear of the iPad's case
        blurred += (whole.pixel(m.left() + x, m.top() + y) | 0xFF000000u) != (mac->pixel(x, y) | 0xFF000000u);
    EXPECT_EQ(blurred, 0);

    // Press on the title bar (source pixel 80, 40: 30, 10 points into the window), move 36 × 24
    // pixels in steps of a frame, release.
    QPoint start;
    for (int y = 0; y < r.height(); ++y)
      for (int x = 0; x < r.width(); ++x)
        if (sourceAt({x, y}) == QPoint(80, 40)) start = {x, y};
    const QPoint step(3, 2), end = start + 12 * step;
    f.mouse(QEvent::MouseButtonPress, r.topLeft() + start, Qt::ShiftModifier);
    if (auto fingers = f.fingers()) {
      EXPECT_EQ(fingers->modifierFlags, 1u << 17);
    }
    for (int i = 1; i <= 12; ++i) f.loop.advance(1.0 / 60), f.mouse(QEvent::MouseMove, r.topLeft() + start + i * step);
    f.mouse(QEvent::MouseButtonRelease, r.topLeft() + end);
    f.loop.advance(1);
    const QPoint moved = sourceAt(end) - sourceAt(start);
    const Point expected = source == ipadID ? Point{desktop.minX() + 10, desktop.minY() + 10}  // nothing to touch
                                            : Point{desktop.minX() + 10 + moved.x() / 2.0, desktop.minY() + 10 + moved.y() / 2.0};
    const Point at = f.s.world.windows.appWindow(editor)->bounds.origin;
    EXPECT_NEAR(at.x, expected.x, 1e-6);
    EXPECT_NEAR(at.y, expected.y, 1e-6);

    // Held, the wheel scrolls the desktop the way it turned as the picture shows it: the fingers
    // move down the desktop for a turn up, right for a positive horizontal turn (negative deltas).
    if (!held || source == ipadID) continue;
    f.s.world.windows.appWindow(editor)->bounds = desktop;  // under the fingers wherever they are
    for (const auto& [angle, down, across] : {std::tuple{QPoint(0, 120), 1, 0}, std::tuple{QPoint(120, 0), 0, -1}}) {
      SCOPED_TRACE(testing::Message() << "wheel " << angle.x() << ", " << angle.y());
      const auto& posted = f.s.world.inputEvents.posted;
      const std::size_t before = posted.size();
      f.wheel(r.center(), angle);
      f.loop.advance(5);
      std::int64_t vertical = 0, horizontal = 0;
      for (std::size_t i = before; i < posted.size(); ++i)
        if (posted[i].event.isScroll) vertical += posted[i].event.wheels[0], horizontal += posted[i].event.wheels[1];
      EXPECT_EQ((vertical > 0) - (vertical < 0), down);
      EXPECT_EQ((horizontal > 0) - (horizontal < 0), across);
    }
  }
  // Held, the two quarter turns show the same upright desktop: the case shows which way it stands.
  if (held) {
    EXPECT_NE(cased[QuarterTurn::right], cased[QuarterTurn::left]);
  }
  }
}

// Each World menu item changes the simulated Mac the way its title says.
TEST(SimulatorWindow, TheWorldMenuActsOnTheWorld) {
  SimulatorFixture f;
  auto& world = f.s.world;
  std::map<WorkspaceNotification, int> heard;
  for (auto name : {WorkspaceNotification::willSleep, WorkspaceNotification::didWake,
                    WorkspaceNotification::screensDidSleep, WorkspaceNotification::screensDidWake})
    world.workspace.addObserver(name, [&heard, name] { ++heard[name]; });
  const auto ipad = [&] {
    for (const auto& d : world.displays.displays())
      if (d.uuid == "IPAD") return std::optional(d);
    return std::optional<sim::SimDisplay>();
  };
  const auto editorAt = [&] { return world.windows.appWindow(editor)->bounds.origin; };
  const std::pair<const char*, std::function<bool()>> rows[] = {
      {"Sleep System", [&] { return heard[WorkspaceNotification::willSleep] == 1; }},
      {"Wake System", [&] { return heard[WorkspaceNotification::didWake] == 1; }},
      {"Sleep Screens", [&] { return heard[WorkspaceNotification::screensDidSleep] == 1; }},
      {"Wake Screens", [&] { return heard[WorkspaceNotification::screensDidWake] == 1; }},
      // The window on the iPad goes with it.
      {"Left of the Main Display", [&] { return ipad()->bounds == Rect(-160, 0, 160, 120) && editorAt() == Point{-140, 10}; }},
      {"Below the Main Display", [&] { return ipad()->bounds == Rect(20, 150, 160, 120) && editorAt() == Point{40, 160}; }},
      {"Disconnect iPad", [&] { return !ipad(); }},
      {"Reconnect iPad", [&] { return ipad() && ipad()->id != ipadID; }},
      {"Screen Recording Allowed", [&] { return !world.permissions.screenCapture.granted; }},
      {"Posting Events Allowed", [&] { return !world.permissions.postEvents.granted; }},
      {"macOS 26", [&] { return world.system.major == 26; }},
      {"Reduce Motion", [&] { return world.windows.reduceMotion; }},
      {"Login Item Needs Approval", [&] { return world.loginItem.state == LoginItemStatus::requiresApproval; }},
      {"Shortcuts Held by Another App", [&] { return world.hotKeys.heldElsewhere.size() == 2; }}};
  for (const auto& [item, happened] : rows) {
    SCOPED_TRACE(item);
    ASSERT_TRUE(f.s.window().worldMenu().action(item));
    f.s.window().worldMenu().action(item)->trigger();
    f.loop.advance(0.5);
    EXPECT_TRUE(happened());
  }
}

// The close button asks the program to end, as Quit and the signals do (the application's tests
// have those): it puts the iPad back before it terminates.
TEST(SimulatorWindow, TheCloseButtonPutsTheIPadBackFirst) {
  SimulatorFixture f;
  f.menu("Rotate");
  f.loop.advance(3);
  ASSERT_TRUE(f.state().virtualDisplay);
  f.s.window().close();
  EXPECT_FALSE(f.application.terminated);
  f.loop.advance(10);
  EXPECT_TRUE(f.application.terminated);
  EXPECT_EQ(f.s.world.displays.bounds(ipadID), Rect(200, 0, 160, 120));
  EXPECT_EQ(f.s.world.virtualDisplayClasses.liveDisplayObjects(), 0);
}

// Ctrl+R rotates and Ctrl+Q quits from the simulator window and from the control window alike:
// each key runs one command, whichever window is active, although two menu items (and the
// control window's button) carry it. The control window opens beside the displays' pictures.
TEST(SimulatorWindow, TheRotateQuitAndGlobalKeysWorkFromEveryWindow) {
  const std::pair<const char*, QWidget& (*)(QtSimulatorFixture&)> rows[] = {
      {"simulator window", [](QtSimulatorFixture& f) -> QWidget& { return f.s.window(); }},
      {"control window", [](QtSimulatorFixture& f) -> QWidget& { return f.controlWindow(); }}};
  for (const auto& [name, window] : rows) {
    SCOPED_TRACE(name);
    QtSimulatorFixture f;
    // The bar the window was built with is gone, and the window's own menus with it were they its.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList titles;
    for (QAction* menu : f.s.window().menuBar()->actions()) titles << menu->text();
    EXPECT_EQ(titles.join(' '), "World View Turnlet");
    const QRect control = f.controlWindow().frameGeometry();
    EXPECT_EQ(control.topLeft(), QPoint(0, 0));
    for (DisplayID display : {mainID, ipadID}) {
      const simulator::DesktopView& view = f.s.window().desktop();
      EXPECT_FALSE(control.intersects(view.pictureRect(display).translated(view.mapToGlobal(QPoint(0, 0)))));
    }
    f.type(window(f), Qt::Key_R);
    f.loop.advance(0.05);
    f.type(window(f), Qt::Key_Q);  // refused while it turns, with a beep the strip shows
    EXPECT_EQ(f.s.window().statusText().toStdString(), "Quit refused: Rotating…");
    EXPECT_EQ(f.s.window().beepCount(), 1);
    f.loop.advance(3);
    EXPECT_EQ(f.s.delegate().session().state().rotation, QuarterTurn::right);
    f.type(window(f), Qt::Key_0, Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);  // the global reset
    f.loop.advance(3);
    EXPECT_EQ(f.s.delegate().session().state().rotation, QuarterTurn::normal);
    f.type(window(f), Qt::Key_Q);
    f.loop.advance(10);
    EXPECT_TRUE(f.application.isTerminated());
    EXPECT_EQ(f.s.world.displays.bounds(ipadID), Rect(200, 0, 160, 120));
  }
}

}  // namespace
