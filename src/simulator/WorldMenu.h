#pragma once

#include <QMenu>

#include <optional>

#include "sim/world/World.h"
#include "simulator/PhysicalArrangement.h"

class QSlider;

namespace turnlet::simulator {

// The "World" menu: what happens to the simulated Mac under the program — sleep and wake, the
// iPad leaving, coming back and moving, the main display's brightness, the permissions, the
// system version, reduced motion, the login item and shortcuts other applications hold. Main
// loop only.
class WorldMenu : public QMenu {
 public:
  enum class Side { left, right, above, below };

  WorldMenu(sim::World& world, PhysicalArrangement& arrangement, QWidget* parent = nullptr);

  // The action with this text, anywhere in the menu; null when there is none.
  QAction* action(const QString& text) const;
  QSlider& brightnessSlider() const { return *brightness; }

  // Moves the iPad beside the main display. While it is shown turned the user would move, in the
  // display settings, what stands in the iPad's place, the program's virtual display: that moves,
  // and the iPad's physical place with it. The applications' windows on it move with it.
  void moveIPad(Side side);
  static Rect beside(const Rect& main, Size size, Side side);

 private:
  void refreshChecks();
  void moveDisplay(const sim::SimDisplay& display, const Rect& to);

  sim::World& world;
  PhysicalArrangement& arrangement;
  std::optional<DisplayID> disconnected;
  QSlider* brightness = nullptr;
};

}  // namespace turnlet::simulator
