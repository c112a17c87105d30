#include "simulator/WorldMenu.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QWidgetAction>

#include <cmath>

namespace turnlet::simulator {

WorldMenu::WorldMenu(sim::World& world, PhysicalArrangement& arrangement, QWidget* parent)
    : QMenu("World", parent), world(world), arrangement(arrangement) {
  const auto post = [this](const QString& text, WorkspaceNotification name) {
    addAction(text, this, [this, name] { this->world.workspace.post(name); });
  };
  post("Sleep System", WorkspaceNotification::willSleep);
  post("Wake System", WorkspaceNotification::didWake);
  post("Sleep Screens", WorkspaceNotification::screensDidSleep);
  post("Wake Screens", WorkspaceNotification::screensDidWake);
  addSeparator();
  addAction("Disconnect iPad", this, [this] {
    this->arrangement.update(this->world.displays);
    if (const auto* ipad = this->arrangement.ipad(this->world.displays.mainDisplayID())) {
      disconnected = ipad->display.id;
      this->world.displays.disconnect(ipad->display.id);
    }
    refreshChecks();
  });
  addAction("Reconnect iPad", this, [this] {
    if (auto id = std::exchange(disconnected, std::nullopt)) this->world.displays.reconnect(*id);
    refreshChecks();
  });
  QMenu* move = addMenu("Move iPad");
  const std::pair<const char*, Side> sides[] = {{"Left of the Main Display", Side::left},
                                                {"Right of the Main Display", Side::right},
                                                {"Above the Main Display", Side::above},
                                                {"Below the Main Display", Side::below}};
  for (const auto& [text, side] : sides) move->addAction(text, this, [this, side = side] { moveIPad(side); });
  addSeparator();
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(12, 4, 12, 4);
  layout->addWidget(new QLabel("Main Display Brightness", row));
  brightness = new QSlider(Qt::Horizontal, row);
  brightness->setRange(0, 100);
  brightness->setValue(100);
  layout->addWidget(brightness);
  auto* slider = new QWidgetAction(this);
  slider->setDefaultWidget(row);
  addAction(slider);
  connect(brightness, &QSlider::valueChanged, this, [this](int value) {
    this->world.libraries.setBrightness(this->world.displays.mainDisplayID(), value / 100.0);
  });
  addSeparator();
  const auto toggle = [this](const QString& text, auto set) {
    QAction* a = addAction(text);
    a->setCheckable(true);
    connect(a, &QAction::toggled, this, set);
  };
  toggle("Screen Recording Allowed", [this](bool on) { this->world.permissions.screenCapture.granted = on; });
  toggle("Posting Events Allowed", [this](bool on) { this->world.permissions.postEvents.granted = on; });
  QMenu* system = addMenu("Operating System");
  for (int major : {26, 27}) {
    QAction* a = system->addAction(QString("macOS %1").arg(major), this, [this, major] {
      this->world.system.major = major, this->world.system.minor = 0, this->world.system.patch = 0;
    });
    a->setCheckable(true);
  }
  toggle("Reduce Motion", [this](bool on) { this->world.windows.reduceMotion = on; });
  addSeparator();
  // The login item as the user sets it in the system's settings.
  QMenu* login = addMenu("Login Item");
  const std::pair<const char*, LoginItemStatus> states[] = {{"Login Item Off", LoginItemStatus::notRegistered},
                                                            {"Login Item On", LoginItemStatus::enabled},
                                                            {"Login Item Needs Approval", LoginItemStatus::requiresApproval}};
  for (const auto& [text, state] : states) {
    login->addAction(text, this, [this, state = state] {
      this->world.loginItem.state = state;
      this->world.loginItem.needsApproval = state == LoginItemStatus::requiresApproval;
    })->setCheckable(true);
  }
  toggle("Login Item Changes Refused", [this](bool on) {
    this->world.loginItem.refusal = on ? std::optional<std::string>("Operation not permitted") : std::nullopt;
  });
  // Taken by the next registration: turn Global Shortcuts off and on to see it.
  toggle("Shortcuts Held by Another App", [this](bool on) {
    const unsigned all = KeyEquivalent::control | KeyEquivalent::option | KeyEquivalent::command;
    this->world.hotKeys.heldElsewhere.clear();
    if (on) this->world.hotKeys.heldElsewhere = {{"r", all}, {"0", all}};
  });
  refreshChecks();
  connect(this, &QMenu::aboutToShow, this, [this] { refreshChecks(); });
}

// The checks show the world as it is, whoever changed it; setting them does not act again.
void WorldMenu::refreshChecks() {
  const auto check = [this](const QString& text, bool on) {
    QAction* a = action(text);
    const QSignalBlocker quiet(a);
    a->setChecked(on);
  };
  check("Screen Recording Allowed", world.permissions.screenCapture.granted);
  check("Posting Events Allowed", world.permissions.postEvents.granted);
  check("macOS 26", world.system.major == 26);
  check("macOS 27", world.system.major == 27);
  check("Reduce Motion", world.windows.reduceMotion);
  check("Login Item Off", world.loginItem.state == LoginItemStatus::notRegistered);
  check("Login Item On", world.loginItem.state == LoginItemStatus::enabled);
  check("Login Item Needs Approval", world.loginItem.state == LoginItemStatus::requiresApproval);
  check("Login Item Changes Refused", world.loginItem.refusal.has_value());
  check("Shortcuts Held by Another App", !world.hotKeys.heldElsewhere.empty());
  action("Reconnect iPad")->setEnabled(disconnected.has_value());
}

QAction* WorldMenu::action(const QString& text) const {
  for (QAction* a : findChildren<QAction*>())
    if (a->text() == text) return a;
  for (QMenu* m : findChildren<QMenu*>())
    for (QAction* a : m->actions())
      if (a->text() == text) return a;
  return nullptr;
}

Rect WorldMenu::beside(const Rect& main, Size size, Side side) {
  switch (side) {
    case Side::left: return Rect(main.minX() - size.width, main.minY(), size.width, size.height);
    case Side::right: return Rect(main.maxX(), main.minY(), size.width, size.height);
    case Side::above: return Rect(std::round(main.midX() - size.width / 2), main.minY() - size.height, size.width, size.height);
    case Side::below: return Rect(std::round(main.midX() - size.width / 2), main.maxY(), size.width, size.height);
  }
  return {};
}

void WorldMenu::moveIPad(Side side) {
  arrangement.update(world.displays);
  const auto* main = world.displays.find(world.displays.mainDisplayID());
  const auto* ipad = arrangement.ipad(world.displays.mainDisplayID());
  if (!main || !ipad) return;
  const Rect place = beside(main->bounds, ipad->bounds.size, side);
  if (!PhysicalArrangement::ownVirtualDisplayOnline(world.displays)) return moveDisplay(ipad->display, place);
  arrangement.move(ipad->display.id, place.origin);
  for (const sim::SimDisplay& d : world.displays.displays())
    if (PhysicalArrangement::isOwnVirtualDisplay(d)) moveDisplay(d, beside(main->bounds, d.bounds.size, side));
}

// The applications' windows on a display go with it, as macOS moves them when the arrangement
// changes: a window belongs to the display under its top-left corner.
void WorldMenu::moveDisplay(const sim::SimDisplay& display, const Rect& to) {
  const Rect from = display.bounds;
  world.displays.setBounds(display.id, to);
  for (sim::SimApplication& application : world.windows.applications)
    for (sim::SimAppWindow& window : application.windows)
      if (from.contains(window.bounds.origin))
        window.bounds.origin = {window.bounds.minX() + to.minX() - from.minX(), window.bounds.minY() + to.minY() - from.minY()};
}

}  // namespace turnlet::simulator
