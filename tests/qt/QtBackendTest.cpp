#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <atomic>

#include "app/AppDelegate.h"
#include "app/TurnletApp.h"
#include "qt/QtApplication.h"
#include "qt/QtMainLoop.h"
#include "qt/QtMessageFilter.h"
#include "session/SessionFixture.h"
#include "support/LoopContract.h"
#include "support/SimulatedProgram.h"

using namespace turnlet;

// The contract, and posts from other threads wake the loop waiting in Qt's event loop.
TEST(QtMainLoop, KeepsTheLoopContractAndPostsFromOtherThreadsWakeTheWaitingLoop) {
  {
    qt::QtMainLoop loop;
    loopcontract::stopsAndRunsAgain(loop);
  }
  qt::QtMainLoop loop;
  loopcontract::postsThenDueTimers(loop, [&loop] { loop.stop(); });
  loop.run();
  constexpr int producers = 4, posts = 300;
  std::vector<int> last(producers, -1);
  int received = 0;
  bool inOrderOnLoop = true;
  std::atomic<bool> waiting{false};
  std::vector<std::thread> threads;
  loop.post([&] {
    for (int p = 0; p < producers; ++p) {
      threads.emplace_back([&, p] {
        while (p == 0 && !waiting) std::this_thread::yield();  // the first post finds the loop idle
        for (int i = 0; i < posts; ++i) {
          loop.post([&, p, i] {
            inOrderOnLoop = inOrderOnLoop && std::exchange(last[p], i) == i - 1 && loop.isLoopThread();
            if (++received == producers * posts) loop.stop();
          });
        }
      });
    }
    loop.post([&] { waiting = true; });
  });
  // A lost wake would leave the loop waiting for this instead.
  loop.schedule(3, [&] { ADD_FAILURE() << "the loop slept through posts", loop.stop(); });
  loop.run();
  for (auto& thread : threads) thread.join();
  EXPECT_TRUE(inOrderOnLoop);
  EXPECT_EQ(received, producers * posts);
}

// The platform plugin's "does not support" lines and the runtime-folder notice stay off standard
// error; every other message reaches the handler installed before, unchanged.
TEST(QtMessageFilter, DropsOnlyThePluginLimitationLines) {
  static std::vector<std::string> received;  // static: the handler is a plain function
  qInstallMessageHandler(
      [](QtMsgType, const QMessageLogContext&, const QString& message) { received.push_back(message.toStdString()); });
  qt::QtMessageFilter::install();
  qWarning("This plugin does not support raise()");
  qWarning("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-x'");
  qWarning("QAction::event: Ambiguous shortcut overload: Ctrl+Q");
  qDebug("This plugin does not support raise()");
  // Back to the filter over Qt's own handler, as the test binary's main set it.
  qInstallMessageHandler(nullptr);
  qt::QtMessageFilter::install();
  EXPECT_EQ(received, (std::vector<std::string>{"QAction::event: Ambiguous shortcut overload: Ctrl+Q",
                                                 "This plugin does not support raise()"}));
}

namespace {

// Menu items as the user sees them: title, the shortcut it runs, "(shortcut)" for one it only
// shows, " ✓" when ticked, " (off)" when disabled; "---" for a separator, submenus indented.
std::string tree(const QList<QAction*>& actions, int depth = 0) {
  std::string out;
  for (QAction* a : actions) {
    const QStringList text = a->text().split('\t');
    out += std::string(2 * depth, ' ') + (a->isSeparator() ? "---" : text.at(0).toStdString());
    if (!a->shortcut().isEmpty()) out += " " + a->shortcut().toString(QKeySequence::PortableText).toStdString();
    if (text.size() > 1) out += " (" + text.at(1).toStdString() + ")";
    if (a->isChecked()) out += " ✓";
    if (!a->isEnabled() && !a->isSeparator()) out += " (off)";
    out += "\n";
    if (a->menu()) out += tree(a->menu()->actions(), depth + 1);
  }
  return out;
}

QAction& item(const QList<QAction*>& actions, const QString& title) {
  for (QAction* a : actions)
    if (a->text().split('\t').at(0) == title) return *a;
  throw std::out_of_range(title.toStdString());
}

// Which side of the drawing the iPad's cable is painted on.
std::string cableSide(QWidget& view) {
  const QImage image = view.grab().toImage();
  std::string sides;
  for (auto [side, x, y] : {std::tuple{"right", 177, 83}, {"bottom", 108, 152}, {"left", 39, 83}, {"top", 108, 14}})
    if (image.pixelColor(x, y) != image.pixelColor(1, 1)) sides += side;
  return sides;
}

// The application on the small simulated Mac with everything on the virtual loop, as the
// application tests have it, but shown through Qt widgets.
struct QtShell : SimulatedProgram {
  QtShell() {
    TurnletApp::runApplication(app, delegate);
    loop.advance(2);
  }
  ~QtShell() {
    app.terminate();
    loop.advance(10);
  }
  QWidget& window() { return app.windows().at(0)->widget(); }
  QToolButton& statusButton() { return *bar.cornerWidget()->findChild<QToolButton*>(); }
  QList<QAction*> statusMenu() { return statusButton().menu()->actions(); }

  QMenuBar bar;
  qt::QtApplication app{bar};
  std::shared_ptr<AppDelegate> delegate = makeDelegate(app, Touch::off);
};

}  // namespace

TEST(QtShell, TheApplicationRunsOnWidgets) {
  QtShell shell;
  QWidget& window = shell.window();
  QWidget& view = *window.findChildren<QWidget*>().at(0);
  struct Step {
    const char* name;
    std::function<void()> act;
    std::function<std::string()> read;
    std::string expected;
  };
  const Step steps[] = {
      {"main menu", [] {}, [&] { return tree(shell.bar.actions()); },
       "Turnlet\n  About Turnlet\n  ---\n  Quit Turnlet Ctrl+Q\n"},
      {"status menu", [] {}, [&] { return tree(shell.statusMenu()); },
       "Rotate Ctrl+R\nReset to Landscape (off)\nRotation · 0° Landscape\n  0° Landscape ✓\n  90° Portrait\n"
       "  180° Landscape\n  270° Portrait\nDisplay\n---\nFollow Main Display Brightness\nTouch Input\n---\n"
       "Performance: inactive (off)\n---\nShow Button\n---\nStart at Login\nGlobal Shortcuts ✓\n---\nQuit (Ctrl+Q)\n"},
      {"status item", [] {}, [&] {
         auto& b = shell.statusButton();
         const bool symbol = !b.icon().isNull() && b.toolButtonStyle() == Qt::ToolButtonIconOnly;
         return ((symbol ? "symbol|" : "text|") + b.accessibleName() + "|" + b.toolTip()).toStdString();
       },
       "symbol|Turnlet|Turnlet · Rotation off · Connect your iPad with Sidecar, then rotate."},
      {"control window", [] {}, [&] {
         auto* rotate = window.findChild<QPushButton*>();
         return (window.windowTitle() + QString(" %1×%2 ").arg(window.width()).arg(window.height()) +
                 (window.isVisible() ? "shown|" : "hidden|") + rotate->toolTip() + "|" +
                 QString::number(rotate->font().pixelSize()) + (rotate->font().weight() == QFont::Medium ? " medium|" : "|") +
                 rotate->shortcut().toString(QKeySequence::PortableText))
             .toStdString();
       },
       "Turnlet 340×490 shown|Rotate the iPad another 90° clockwise|18 medium|"},
      {"labels", [] {}, [&] {
         std::string out;
         for (auto* label : window.findChildren<QLabel*>()) out += label->text().toStdString() + "|";
         return out;
       },
       "Software dimming · Off|Touch · Off|Rotation off · Connect your iPad with Sidecar, then rotate.||"},
      {"orientation view", [] {}, [&] {
         auto* accessible = QAccessible::queryAccessibleInterface(&view);
         return view.accessibleName().toStdString() + (accessible->role() == QAccessible::Graphic ? "|image|" : "|") +
                cableSide(view);
       },
       "iPad landscape, power port at right|image|right"},
      {"rotate from the status menu", [&] { item(shell.statusMenu(), "Rotate").trigger(), shell.loop.advance(2); },
       [&] {
         return (window.findChildren<QLabel*>().at(2)->text() + "|" + view.accessibleName()).toStdString() + "|" +
                cableSide(view);
       },
       "90° · Portrait|iPad portrait, power port at bottom|bottom"},
      {"display submenu while rotated", [&] {
         auto* display = item(shell.statusMenu(), "Display").menu();
         display->popup({}), display->hide();
       },
       [&] { return tree(item(shell.statusMenu(), "Display").menu()->actions()); },
       "Detect Sidecar Automatically ✓ (off)\niPad (off)\n"},
      {"brightness check box", [&] { window.findChildren<QCheckBox*>().at(0)->click(); },
       [&] { return tree({&item(shell.statusMenu(), "Follow Main Display Brightness")}); },
       "Follow Main Display Brightness ✓\n"},
      {"closed window, application runs", [&] { window.close(); },
       [&] { return std::string(window.isVisible() ? "shown" : "hidden") + (shell.app.isTerminated() ? " ended" : ""); },
       "hidden"},
      {"reopened", [&] { shell.app.reopen(); }, [&] { return std::string(window.isVisible() ? "shown" : "hidden"); },
       "shown"},
      {"about panel", [&] { item(shell.bar.actions().at(0)->menu()->actions(), "About Turnlet").trigger(); },
       [&] {
         QMessageBox& panel = *shell.app.aboutPanel();
         const int title = panel.fontMetrics().horizontalAdvance(panel.windowTitle());
         return panel.windowTitle().toStdString() + "|" + panel.text().toStdString() +
                (panel.width() >= title + qt::QtApplication::aboutTitleBarAllowance ? "|fits its title" : "|narrow");
       },
       "About Turnlet|<p align=\"center\"><b>Turnlet</b></p><p align=\"center\">Version 0.1.0</p>"
       "<p align=\"center\"><a href=\"https://turnlet.app\">https://turnlet.app</a></p>|fits its title"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(step.read(), step.expected);
  }
}
