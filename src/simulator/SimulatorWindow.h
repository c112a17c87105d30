#pragma once

#include <QMainWindow>

#include <functional>

#include "sim/world/World.h"
#include "simulator/DesktopView.h"
#include "simulator/PhysicalArrangement.h"
#include "simulator/WorldMenu.h"

class QLabel;

namespace turnlet::simulator {

// The window that shows the simulated Mac and lets a person act on it: its displays in the
// central widget, a "World" menu and a "View" menu in its own menu bar (where the application's menus and status
// item go too). Pictures are refreshed on the main loop 60 times a second, when something that
// can be seen has changed. Main loop only.
class SimulatorWindow : public QMainWindow {
 public:
  static constexpr double refreshIntervalSeconds = 1.0 / 60;
  static constexpr double refreshPhaseSeconds = 0.002;

  explicit SimulatorWindow(sim::World& world, QWidget* parent = nullptr);
  ~SimulatorWindow() override;

  // The bar the application's own menus and status item are put in.
  QMenuBar* applicationMenuBar() { return menuBar(); }
  // Takes `bar` as the window's menu bar, the World menu with it: the application toolkit may be
  // made with its bar before this window exists.
  void adoptMenuBar(QMenuBar* bar);
  // What the close button does instead of closing, when set: the program decides when to end.
  std::function<void()> onCloseRequest;
  DesktopView& desktop() { return *view; }
  WorldMenu& worldMenu() { return *menu; }
  const PhysicalArrangement& arrangement() const { return places; }
  // The strip under the displays: what the simulated capture delivers, once a second ("idle,
  // nothing changed" while only idle frames arrive), or for a few seconds a refusal.
  static constexpr double stripSeconds = 1, refusalSeconds = 4, flashSeconds = 0.3;
  QString statusText() const;
  // What a beep tells a person on the Mac, shown: the strip flashes, names the refused request
  // (`text`) and counts the beeps.
  void showRefusal(const QString& text);
  int beepCount() const { return beeps; }
  // Moves a window that is about to open (the program's control window) beside this one on its
  // screen, clear of the displays' pictures (ControlWindowPlacement).
  void placeBeside(QWidget& window) const;

 private:
  void schedule();
  void tick();
  void showCapture();
  void closeEvent(QCloseEvent* event) override;

  sim::World& world;
  PhysicalArrangement places;
  DesktopView* view;
  WorldMenu* menu;
  QMenu* viewMenu;  // "iPad as Held" (on at first: the iPad drawn as the person holds it)
  QLabel* status;
  QLabel* beepCounter;
  MainLoop::TimerId timer = 0, flash = 0;
  int beeps = 0;
  double refusalUntil = 0, countedAt = 0;
  std::uint64_t framesCounted = 0, idleFramesCounted = 0;
};

}  // namespace turnlet::simulator
