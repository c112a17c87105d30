// A scripted tour of the program on the simulated Mac, in virtual time, on Qt's offscreen
// platform: one picture per step, the simulator window with the program's control window beside it
// (and the status menu open where a step opens it), and a caption under them.

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolButton>
#include <QSlider>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "host/IcuTextServices.h"
#include "sim/system/LoopSerialQueue.h"
#include "sim/system/ManualLoop.h"
#include "sim/system/MemoryDefaults.h"
#include "qt/QtApplication.h"
#include "qt/QtMessageFilter.h"
#include "sim/system/RecordingLog.h"
#include "simulator/Simulator.h"
#include "qt/QtAppWindow.h"

using namespace turnlet;

namespace {

// A Mac display with the iPad at its right, a notes window on the Mac and a browser on the iPad.
sim::WorldDescription tourWorld() {
  sim::SimDisplay mac{1, "Built-in Retina Display", Rect(0, 0, 1440, 900), 1552, 0, 0, true, false, "MAC-1"};
  sim::SimDisplay ipad{2, "Sidecar Display (AirPlay)", Rect(1440, -62, 1366, 1024), 1552, 0, 0, false, false, "IPAD-1"};
  sim::SimAppWindow notes{101, "Shopping List", Rect(160, 140, 620, 440), 1, 0, 28, true, true, {}};
  sim::SimAppWindow browser{201, "Welcome", Rect(1560, 80, 760, 520), 1, 0, 28, true, true,
                            {sim::SimElement{"AXButton", Rect(40, 80, 160, 40)}}};
  return {{mac, ipad}, 1, {sim::SimApplication{501, "Notes", {notes}}, sim::SimApplication{502, "Browser", {browser}}}};
}

class Tour {
 public:
  Tour(QString folder) : folder(std::move(folder)) {
    simulator.world.gpu.setWorkerQueue(std::make_unique<sim::LoopSerialQueue>("gpu", loop));
    simulator.world.gpu.setDisplayQueue(std::make_unique<sim::LoopSerialQueue>("display", loop));
    simulator.window().adoptMenuBar(bar);
    simulator.window().resize(windowWidth, windowHeight);
    application.onBeep = [this](const std::string& refused) { simulator.beeped(refused); };
    simulator.window().show();
  }

  void run() {
    simulator.launch();
    loop.advance(2);
    shot("launch", "Launched: the Mac's display and the iPad at its right, rotation off; Turnlet's control window beside them.");
    // The iPad is drawn as the person holds it: turned with the rotation, so its desktop reads upright.
    const std::pair<const char*, const char*> turns[] = {
        {"90", "the iPad, drawn as held, stands upright in portrait and its desktop reads upright."},
        {"180", "the iPad, drawn as held, is upside down in landscape and its desktop still reads upright."},
        {"270", "the iPad, drawn as held, stands in portrait the other way round, its desktop upright."}};
    for (const auto& [turn, held] : turns) {
      menu("Rotate");
      loop.advance(4);
      shot(std::string("rotate-") + turn, std::string("Rotate: the desktop is turned ") + turn + "°; " + held);
    }
    shot("menu", "The status menu, opened from the rotate icon at the menu bar's right end: Touch Input is next.",
         "Touch Input");
    menu("Touch Input");
    loop.advance(1);
    const Point button = onBrowser(120, 100);
    press(Qt::LeftButton, button), loop.advance(0.05), release(Qt::LeftButton, button);
    loop.advance(1);
    const int presses = simulator.world.windows.appWindow(201)->elements.at(0).presses;
    shot("tap", "Touch input on; a tap on the browser's button on the turned desktop pressed it " +
                    (presses == 1 ? std::string("once.") : std::to_string(presses) + " times."));
    const Point before = simulator.world.windows.appWindow(201)->bounds.origin;
    drag(onBrowser(380, 14), {-260, 180});
    const Point after = simulator.world.windows.appWindow(201)->bounds.origin;
    shot("drag", "A drag on the browser's title bar on the iPad moved the window from " + point(before) + " to " +
                     point(after) + " on the turned desktop.");
    menu("Follow Main Display Brightness");
    simulator.window().worldMenu().brightnessSlider().setValue(30);
    loop.advance(3);
    shot("dim", "Main display brightness at 30 %: the iPad is dimmed to follow it.");
    simulator.window().worldMenu().action("Disconnect iPad")->trigger();
    loop.advance(5);
    shot("disconnect", "The iPad is disconnected: the rotation is taken down and waits for it.");
    simulator.window().worldMenu().action("Reconnect iPad")->trigger();
    loop.advance(15);
    shot("reconnect", "The iPad is back under a new id: its rotation is restored.");
    menu("Rotate");
    loop.advance(0.05);
    if (!simulator.delegate().session().state().busy) throw std::runtime_error("the rotation ended before Quit");
    menu("Quit");
    shot("quit-refused", "Quit while the iPad turns back is refused with a beep: the strip under the displays "
                         "flashes, names the refused request and counts the beeps.");
    loop.advance(4);
    shot("rotate-0", "Rotate once more: a full turn, back to landscape, the iPad as before.");
    shot("rotation-menu", "The Rotation submenu names the turn shown and picks any turn directly: 90° Portrait is next.",
         "Rotation · 0° Landscape", "90° Portrait");
    turn("90° Portrait");
    loop.advance(4);
    shot("turn-90", "Rotation → 90° Portrait: straight to the chosen turn, in one step with one fade.");
    menu("Quit");
    loop.advance(10);
    shot("quit", application.isTerminated() ? "Quit: the iPad is back in its place and the program has ended."
                                        : "Quit was refused.");
  }

 private:
  static std::string point(Point p) {
    return "(" + std::to_string(std::lround(p.x)) + ", " + std::to_string(std::lround(p.y)) + ")";
  }
  // Chooses an item of the status item's menu, as a click on it would. An item that shows a key
  // another item runs has it after a tab in its text.
  void menu(const std::string& title) {
    auto* button = bar->cornerWidget()->findChild<QToolButton*>();
    for (QAction* action : button->menu()->actions())
      if (action->text().section('\t', 0, 0).toStdString() == title) return action->trigger();
    throw std::runtime_error("no menu item " + title);
  }
  // Chooses a turn in the status menu's Rotation submenu.
  void turn(const std::string& title) {
    auto* button = bar->cornerWidget()->findChild<QToolButton*>();
    for (QAction* action : button->menu()->actions())
      if (QMenu* turns = action->text().startsWith("Rotation") ? action->menu() : nullptr)
        for (QAction* item : turns->actions())
          if (item->text().toStdString() == title) return item->trigger();
    throw std::runtime_error("no turn " + title);
  }

  // The widget position that shows a point of the browser window (window coordinates, y down).
  Point onBrowser(double x, double y) {
    const Rect w = simulator.world.windows.appWindow(201)->bounds;
    return onTurnedDesktop({w.minX() + x, w.minY() + y});
  }
  Point onTurnedDesktop(Point p) {
    const auto& state = simulator.delegate().session().state();
    const Rect v = simulator.world.displays.bounds(state.virtualDisplay->displayID());
    const double sx = (p.x - v.minX()) / v.width(), sy = (p.y - v.minY()) / v.height();
    double u = sx, w = sy;  // fractions of the iPad's picture, y down; a held iPad reads upright
    const QuarterTurn drawn = simulator.window().desktop().isHeld() ? QuarterTurn::normal : state.rotation;
    if (drawn == QuarterTurn::right) u = sy, w = 1 - sx;
    if (drawn == QuarterTurn::inverted) u = 1 - sx, w = 1 - sy;
    if (drawn == QuarterTurn::left) u = 1 - sy, w = sx;
    const QRect r = simulator.window().desktop().pictureRect(state.target->id);
    return {r.left() + u * r.width(), r.top() + w * r.height()};
  }
  void mouse(QEvent::Type type, Qt::MouseButton button, Point at) {
    const QPointF p(at.x, at.y);
    QMouseEvent event(type, p, simulator.window().desktop().mapToGlobal(p), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
    QApplication::sendEvent(&simulator.window().desktop(), &event);
  }
  void press(Qt::MouseButton b, Point at) { mouse(QEvent::MouseButtonPress, b, at); }
  void release(Qt::MouseButton b, Point at) { mouse(QEvent::MouseButtonRelease, b, at); }
  void drag(Point from, Size by) {
    press(Qt::LeftButton, from);
    for (int i = 1; i <= 30; ++i) {
      loop.advance(1.0 / 60);
      mouse(QEvent::MouseMove, Qt::LeftButton, {from.x + by.width * i / 30, from.y + by.height * i / 30});
    }
    release(Qt::LeftButton, {from.x + by.width, from.y + by.height});
    loop.advance(1);
  }

  // Writes one picture, every one the same size: the simulator window, the control window at its
  // right as the placement puts it (its place left empty once it is gone), the status menu open
  // under its icon when `openItem` names the item about to be chosen (and its submenu open beside
  // it at `subItem`, when given), and the caption wrapped under them all in room for two lines.
  void shot(const std::string& name, const std::string& caption, const std::string& openItem = {},
            const std::string& subItem = {}) {
    char stem[64];
    std::snprintf(stem, sizeof stem, "%02d-%s", ++step, name.c_str());
    const QString line = QString::fromStdString(caption);
    loop.advance(0.1);  // one more refresh of the pictures
    QApplication::sendPostedEvents();
    const QString base = QDir(folder).filePath(stem);
    const QString status = QString::fromStdString(simulator.delegate().session().state().status);
    if (!compose(line, status, openItem, subItem).save(base + ".png")) throw std::runtime_error("cannot write " + base.toStdString() + ".png");
    QFile text(base + ".txt");
    if (!text.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("cannot write captions");
    QTextStream(&text) << line << '\n';
    std::printf("%s.png  %s\n", base.toUtf8().constData(), caption.c_str());
  }

  QPixmap compose(const QString& caption, const QString& status, const std::string& openItem, const std::string& subItem) {
    const QPixmap main = simulator.window().grab();
    QWidget* control = nullptr;
    for (const auto& w : application.windows())
      if (w->isVisible()) control = &w->widget();
    const int pad = 14, titleBar = 26;
    const QPixmap side = control ? control->grab() : QPixmap();
    if (control) sideSize = sideSize.expandedTo(side.size());
    const int width = pad + main.width() + pad + sideSize.width() + pad;
    // The caption, wrapped to the picture's width so that none of it is cut.
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * 1.3);
    const QFontMetrics metrics(font);
    const QRect textBox(pad, 0, width - 2 * pad, 10000);
    const QRect textSize = metrics.boundingRect(textBox, Qt::TextWordWrap, caption);
    QFont small = QApplication::font();
    const QString said = (application.isTerminated() ? "Turnlet's last status: " : "Turnlet's status: ") + status;
    const QRect saidSize = QFontMetrics(small).boundingRect(textBox, Qt::TextWordWrap, said);
    const int captionHeight = 2 * metrics.lineSpacing(), saidHeight = QFontMetrics(small).lineSpacing();
    if (textSize.width() > textBox.width() || saidSize.width() > textBox.width() || textSize.height() > captionHeight ||
        saidSize.height() > saidHeight)
      throw std::runtime_error("caption larger than its room in the picture");
    const int height = pad + std::max(main.height(), titleBar + sideSize.height()) + pad + captionHeight + 6 +
                       saidHeight + pad;
    QPixmap out(width, height);
    out.fill(QColor(24, 25, 29));
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(pad, pad, main);
    if (control) {
      // Offscreen windows have no frames: a plain title bar says which window this is.
      const QRect frame(pad + main.width() + pad, pad, side.width(), titleBar);
      painter.fillRect(frame, QColor(222, 222, 226));
      const QColor lights[] = {QColor(255, 95, 87), QColor(254, 188, 46), QColor(40, 200, 64)};
      for (int i = 0; i < 3; ++i) {
        painter.setPen(Qt::NoPen), painter.setBrush(lights[i]);
        painter.drawEllipse(QPoint(frame.left() + 14 + 20 * i, frame.center().y() + 1), 6, 6);
      }
      painter.setPen(Qt::black);
      painter.drawText(frame, Qt::AlignCenter, control->windowTitle());
      painter.drawPixmap(frame.left(), frame.bottom() + 1, side);
    }
    if (!openItem.empty()) {
      auto* button = bar->cornerWidget()->findChild<QToolButton*>();
      QMenu* open = button->menu();
      QAction* active = nullptr;
      for (QAction* action : open->actions())
        if (action->text().section('\t', 0, 0).toStdString() == openItem) open->setActiveAction(active = action);
      open->ensurePolished();
      open->adjustSize();
      const QPixmap shown = open->grab();
      const QPoint under = button->mapTo(&simulator.window(), QPoint(button->width(), button->height()));
      painter.fillRect(QRect(pad + under.x() - button->width(), pad, button->width(), button->height()).translated(0, under.y() - button->height()),
                       QColor(0, 0, 0, 40));
      const QPoint at(pad + under.x() - shown.width(), pad + under.y());
      painter.fillRect(QRect(at + QPoint(3, 4), shown.size()), QColor(0, 0, 0, 90));
      painter.drawPixmap(at, shown);
      if (QMenu* sub = active && !subItem.empty() ? active->menu() : nullptr) {
        // The submenu opens to the left, the status menu being at the screen's right edge.
        for (QAction* action : sub->actions())
          if (action->text().toStdString() == subItem) sub->setActiveAction(action);
        sub->ensurePolished();
        sub->adjustSize();
        const QPixmap beside = sub->grab();
        const QPoint subAt(at.x() - beside.width() + 2, at.y() + open->actionGeometry(active).top());
        painter.fillRect(QRect(subAt + QPoint(3, 4), beside.size()), QColor(0, 0, 0, 90));
        painter.drawPixmap(subAt, beside);
      }
    }
    painter.setPen(QColor(235, 235, 240));
    painter.setFont(font);
    const int textTop = height - pad - saidHeight - 6 - captionHeight;
    painter.drawText(QRect(pad, textTop, width - 2 * pad, captionHeight), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                     caption);
    painter.setPen(QColor(170, 172, 180));
    painter.setFont(small);
    painter.drawText(QRect(pad, height - pad - saidHeight, width - 2 * pad, saidHeight),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, said);
    return out;
  }

  static constexpr int windowWidth = 1400, windowHeight = 860;
  QSize sideSize;  // the largest the control window has been
  QString folder;
  sim::ManualLoop loop;
  sim::LoopQueueFactory queues{loop};
  host::IcuTextServices text;
  sim::MemoryDefaults defaults;
  sim::RecordingLog log;
  QMenuBar* bar = new QMenuBar;  // the simulator window takes it
  qt::QtApplication application{*bar};
  simulator::Simulator simulator{{loop, application, queues, text, defaults, log}, tourWorld()};
  int step = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qt::QtMessageFilter::install();
  QApplication qt(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("demo");
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "turnlet-demo: cannot create %s\n", folder.toLocal8Bit().constData());
    return 1;
  }
  try {
    Tour(folder).run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "turnlet-demo: %s\n", e.what());
    return 1;
  }
  return 0;
}
