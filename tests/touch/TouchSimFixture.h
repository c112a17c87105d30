#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "sim/system/ManualLoop.h"
#include "sim/system/ManualSerialQueue.h"
#include "sim/system/RecordingLog.h"
#include "sim/world/World.h"
#include "touch/TouchGeometry.h"
#include "touch/TouchInput.h"

namespace turnlet::test {

constexpr ProcessID appPid = 700;
constexpr WindowNumber appWindow = 7;
constexpr DisplayID virtualID = 3, ipadID = 2;

// The simulated Mac with the virtual display where the iPad was, one application window on it,
// and the presentation view on the iPad receiving fingers; a touch input on it.
struct TouchSim {
  explicit TouchSim(QuarterTurn turn) : turn(turn) {
    world.windows.applications = {sim::SimApplication{appPid, "Editor", {window()}}};
    view = std::make_shared<sim::SimTouchView>(loop, Rect(0, 0, 1366, 1024), ipadID);
    input = TouchInput::make(view, virtualID, ipadID, turn, services());
    input->setOnAccessLost([this] { ++accessLost; });
  }
  ~TouchSim() {
    if (input) input->stop();
    settle();
  }

  static sim::SimAppWindow window() { return {appWindow, "Doc", Rect(1500, 100, 400, 300), 1, 0, 28, true, true, {}}; }

  sim::WorldDescription description() const {
    sim::WorldDescription d;
    const Size turned = isPortrait(turn) ? Size{1024, 1366} : Size{1366, 1024};
    d.displays = {sim::SimDisplay{1, "Mac", Rect(0, 0, 1440, 900), 1552, 0, 0, true},
                  sim::SimDisplay{ipadID, "Sidecar", Rect(-1366, -1024, 1366, 1024), 1552},
                  sim::SimDisplay{virtualID, "Turnlet Desktop", Rect({1440, 0}, turned), 0x544C}};
    d.mainDisplay = 1;
    return d;
  }

  TouchServices services() {
    return {loop, queues, world.displays, world.permissions, world.system, world.inputEvents, world.windowList,
            world.accessibility, world.gestures, world.libraries, log};
  }

  // The view point (unflipped) that shows a source point.
  Point at(Point p) {
    const Rect source = world.displays.bounds(virtualID);
    const Rect c = *TouchGeometry::contentBounds(view->bounds(), source, turn);
    const double sx = (p.x - source.minX()) / source.width(), sy = (p.y - source.minY()) / source.height();
    double u = sx, v = 1 - sy;
    if (turn == QuarterTurn::right) u = sy, v = sx;
    if (turn == QuarterTurn::inverted) u = 1 - sx, v = sy;
    if (turn == QuarterTurn::left) u = 1 - sy, v = 1 - sx;
    return {c.minX() + u * c.width(), c.minY() + v * c.height()};
  }

  // Runs the loop and the writers' queues until both are quiet.
  void settle(double seconds = 0.2) {
    for (int i = 0; i < 40; ++i) loop.advance(seconds / 40), queues.drainAll();
    loop.runUntilIdle();
  }
  // A finger from a to b in steps of 1/60 s, lifted unless told otherwise.
  void stroke(std::uint64_t finger, Point a, Point b, int steps, bool lift = true) {
    view->touchDown(finger, at(a));
    for (int i = 1; i <= steps; ++i) {
      loop.advance(1.0 / 60);
      queues.drainAll();
      view->touchMove(finger, at({a.x + (b.x - a.x) * i / steps, a.y + (b.y - a.y) * i / steps}));
    }
    if (lift) view->touchUp(finger);
  }
  void tap(Point p) {
    view->touchDown(1, at(p));
    loop.advance(0.05);
    view->touchUp(1);
  }

  std::vector<sim::SimInputEvent> events() const { return world.inputEvents.postedTo(appPid); }

  QuarterTurn turn;
  sim::ManualLoop loop;
  sim::World world{loop, description()};
  sim::ManualQueueFactory queues{loop};
  sim::RecordingLog log;
  std::shared_ptr<sim::SimTouchView> view;
  std::shared_ptr<TouchInput> input;
  int accessLost = 0;
};

}  // namespace turnlet::test
