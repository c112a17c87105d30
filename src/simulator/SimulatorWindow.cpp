#include "simulator/SimulatorWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include <cmath>

#include "simulator/ControlWindowPlacement.h"

namespace turnlet::simulator {

SimulatorWindow::SimulatorWindow(sim::World& world, QWidget* parent)
    : QMainWindow(parent),
      world(world),
      view(new DesktopView(world, places, this)),
      menu(new WorldMenu(world, places, this)),
      status(new QLabel(this)),
      beepCounter(new QLabel(this)) {
  setWindowTitle("Turnlet Simulator");
  setCentralWidget(view);
  menuBar()->addMenu(menu);
  // The window owns its menus: the bar they are first put in may be replaced (adoptMenuBar).
  viewMenu = new QMenu("View", this);
  menuBar()->addMenu(viewMenu);
  QAction* held = viewMenu->addAction("iPad as Held");
  held->setCheckable(true);
  held->setChecked(true);
  view->setHeld(true);
  connect(held, &QAction::toggled, this, [this](bool on) { view->setHeld(on); });
  QFont font = status->font();
  font.setPixelSize(15);
  status->setFont(font);
  status->setContentsMargins(8, 4, 8, 4);
  statusBar()->addWidget(status, 1);
  beepCounter->setFont(font);
  beepCounter->setContentsMargins(8, 4, 8, 4);
  statusBar()->addPermanentWidget(beepCounter);
  statusBar()->setSizeGripEnabled(false);
  resize(1280, 800);
  places.update(world.displays);
  view->refresh();
  schedule();
}

SimulatorWindow::~SimulatorWindow() {
  world.loop.cancel(timer);
  world.loop.cancel(flash);
}

void SimulatorWindow::adoptMenuBar(QMenuBar* bar) {
  bar->addMenu(menu);
  bar->addMenu(viewMenu);
  setMenuBar(bar);
}

void SimulatorWindow::closeEvent(QCloseEvent* event) {
  if (!onCloseRequest) return QMainWindow::closeEvent(event);
  event->ignore();
  onCloseRequest();
}

QString SimulatorWindow::statusText() const { return status->text(); }

void SimulatorWindow::showRefusal(const QString& text) {
  status->setText(text);
  beepCounter->setText(QString("Beeps: %1").arg(++beeps));
  refusalUntil = world.loop.now() + refusalSeconds;
  statusBar()->setStyleSheet("QStatusBar { background: rgb(196, 58, 48); } QLabel { color: white; }");
  world.loop.cancel(flash);
  flash = world.loop.schedule(flashSeconds, [this] {
    flash = 0;
    statusBar()->setStyleSheet({});
  });
}

// Counted on the loop, where the simulated capture delivers its frames.
void SimulatorWindow::showCapture() {
  const double now = world.loop.now();
  if (now < refusalUntil || now - countedAt < stripSeconds) return;
  const std::uint64_t frames = world.capture.framesDelivered(), idle = world.capture.idleFramesDelivered();
  const double seconds = now - countedAt;
  const auto pictures = frames - framesCounted, idleOnes = idle - idleFramesCounted;
  countedAt = now, framesCounted = frames, idleFramesCounted = idle;
  if (pictures) {
    status->setText(QString("Simulated capture: %1 new pictures a second").arg(std::lround(pictures / seconds)));
  } else if (idleOnes) {
    status->setText("Simulated capture: idle, nothing changed");
  } else {
    status->setText("Simulated capture: no frames");
  }
}

void SimulatorWindow::placeBeside(QWidget& window) const {
  const QScreen* on = screen();
  if (!on) return;
  ControlWindowPlacement placement;
  placement.available = on->availableGeometry();
  placement.simulatorFrame = frameGeometry();
  // A window that has not been shown has no frame yet: the window manager will give it one like
  // this window's.
  placement.controlFrame = window.size() + (frameGeometry().size() - geometry().size());
  const QPoint origin = view->mapToGlobal(QPoint(0, 0));
  const auto* ipad = places.ipad(world.displays.mainDisplayID());
  for (const auto& place : places.places()) {
    const QRect picture = view->pictureRect(place.display.id).translated(origin);
    if (ipad && place.display.id == ipad->display.id) {
      placement.ipadPicture = picture;
    } else {
      placement.otherPictures.push_back(picture);
    }
  }
  window.move(placement.position());
}

void SimulatorWindow::schedule() {
  // Just after each refresh of the simulated displays (whole sixtieths of a second of the loop's
  // clock), when a frame presented for it has just been shown: the window then shows it at once,
  // and timers that fire late do not slow the refresh down.
  const double now = world.loop.now();
  const double next = (std::floor(now / refreshIntervalSeconds) + 1) * refreshIntervalSeconds + refreshPhaseSeconds;
  timer = world.loop.schedule(next - now, [this] { tick(); });
}

void SimulatorWindow::tick() {
  schedule();
  view->refresh();
  showCapture();
}

}  // namespace turnlet::simulator
