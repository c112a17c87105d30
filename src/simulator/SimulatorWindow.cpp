#include "simulator/SimulatorWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

namespace turnlet::simulator {

SimulatorWindow::SimulatorWindow(sim::World& world, QWidget* parent)
    : QMainWindow(parent),
      world(world),
      view(new DesktopView(world, places, this)),
      menu(new WorldMenu(world, places, this)),
      status(new QLabel(this)) {
  setWindowTitle("Turnlet Simulator");
  setCentralWidget(view);
  menuBar()->addMenu(menu);
  QFont font = status->font();
  font.setPixelSize(15);
  status->setFont(font);
  status->setContentsMargins(8, 4, 8, 4);
  statusBar()->addWidget(status, 1);
  statusBar()->setSizeGripEnabled(false);
  resize(1280, 800);
  places.update(world.displays);
  view->refresh();
  timer = world.loop.schedule(refreshIntervalSeconds, [this] { tick(); });
}

SimulatorWindow::~SimulatorWindow() { world.loop.cancel(timer); }

void SimulatorWindow::adoptMenuBar(QMenuBar* bar) {
  bar->addMenu(menu);
  setMenuBar(bar);
}

void SimulatorWindow::closeEvent(QCloseEvent* event) {
  if (!onCloseRequest) return QMainWindow::closeEvent(event);
  event->ignore();
  onCloseRequest();
}

void SimulatorWindow::setStatusText(const QString& text) { status->setText(text); }

void SimulatorWindow::tick() {
  timer = world.loop.schedule(refreshIntervalSeconds, [this] { tick(); });
  view->refresh();
}

}  // namespace turnlet::simulator
