#include "simulator/Simulator.h"

#include <QApplication>

#include "app/TurnletApp.h"
#include "simulator/DesktopShortcuts.h"
#include "touch/TouchInput.h"

namespace turnlet::simulator {

Simulator::Simulator(Services s, const sim::WorldDescription& description)
    : world(s.loop, description), services(s) {
  auto& w = world;
  w.capture.setSampleQueues(s.queues);  // the frames arrive on the program's own kind of queue
  app = AppDelegate::make(
      {s.application, s.defaults,
       RotationSession::Services{s.loop, w.displays, s.text, w.virtualDisplayClasses, w.gpu, w.windows,
                                 w.capture, w.workspace, w.permissions, w.system, s.log,
                                 TouchInput::factory({s.loop, s.queues, w.displays, w.permissions, w.system,
                                                      w.inputEvents, w.windowList, w.accessibility, w.gestures,
                                                      w.libraries, s.log})},
       [&loop = s.loop, &text = s.text, &w] {
         return BrightnessFollower::make(loop, w.displays, text, w.windows, w.libraries);
       },
       w.loginItem, w.hotKeys});
  shown = std::make_unique<SimulatorWindow>(world);
  shown->desktop().turnDegrees = [this] { return rawValue(app->session().state().rotation); };
  // Closing the window quits the program as Quit does, so the iPad is put back first.
  shown->onCloseRequest = [&application = s.application] { application.terminate(); };
  qApp->installEventFilter(new DesktopShortcuts(world.hotKeys, shown.get()));
}

Simulator::~Simulator() { shown.reset(); }

void Simulator::beeped(const std::string& request) {
  const std::string what = request.empty() ? "Refused: " : request + " refused: ";
  shown->showRefusal(QString::fromStdString(what + app->session().state().status));
}

void Simulator::launch() { TurnletApp::runApplication(services.application, app); }

}  // namespace turnlet::simulator
