#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Accessibility.h"
#include "platform/InputEvents.h"

namespace turnlet::sim {

// One element inside an application's window as Accessibility sees it: a role, a frame relative
// to the window's top-left corner, whether it is enabled and the actions it offers. parent is the
// index of its parent element in the window's list, or -1 for the window itself.
struct SimElement {
  std::string role = "AXButton";
  Rect frame;
  bool enabled = true;
  std::vector<std::string> actions{"AXPress"};
  int parent = -1;
  int presses = 0;  // observation: AXPress performed
  // A button shows these: whether the left mouse button went down on it and is still down, and how
  // many clicks (down and up on it) it got.
  bool held = false;
  int clicks = 0;
};

// A window of a simulated application, kept by the window server beside the program's own.
// Accessibility shows it as an "AXWindow" whose title-bar band and content are the window itself,
// with the elements on top (the last listed is in front).
struct SimAppWindow {
  WindowNumber number = 0;
  std::string title;
  Rect bounds;  // global display points, y down
  double alpha = 1;
  int layer = 0;
  double titleBarHeight = 28;
  bool positionSettable = true;
  bool onScreen = true;
  std::vector<SimElement> elements = {};
  // What the window shows of the events it got: left clicks, the last one's point relative to
  // the window's top-left corner, and how far its contents scrolled (points, as the wheels say).
  int clicks = 0;
  std::optional<Point> lastClick = std::nullopt;
  double scrolledX = 0;
  double scrolledY = 0;
  // When it was last brought to the front by a click (0: never); later is in front, within a layer.
  std::uint64_t raised = 0;
};

// A simulated application: a process with windows, front to back.
struct SimApplication {
  ProcessID pid = 0;
  std::string name;
  std::vector<SimAppWindow> windows;
};

}  // namespace turnlet::sim
