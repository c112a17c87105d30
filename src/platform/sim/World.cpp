#include "sim/World.h"

namespace turnlet::sim {

namespace {

// The frontmost application window under an event's location reacts to left clicks and to the
// wheels, as an application's content would.
void landOnAppWindow(WindowServer& windows, const SimInputEvent& event) {
  if (!event.location) return;
  const Point p = *event.location;
  const bool click = !event.isScroll && event.type == MouseEventType::leftMouseDown;
  if (!click && !event.isScroll) return;
  for (const auto& [app, front] : windows.appWindowsFrontToBack()) {
    if (!front->bounds.contains(p)) continue;
    SimAppWindow* w = windows.appWindow(front->number);
    if (!w) return;
    if (click) {
      ++w->clicks;
      w->lastClick = Point{p.x - w->bounds.minX(), p.y - w->bounds.minY()};
    } else {
      w->scrolledY += event.wheels[0];
      w->scrolledX += event.wheels[1];
    }
    return;
  }
}

}  // namespace

World::World(MainLoop& loop, const WorldDescription& description)
    : loop(loop), displays(loop), virtualDisplayClasses(loop, displays), gpu(loop) {
  displays.setUp(description.displays, description.mainDisplay);
  windows.applications = description.applications;
  windows.screenNumberAt = [this](const WindowFrame& frame) -> std::optional<std::int64_t> {
    const Point centre{frame.x + frame.width / 2, frame.y + frame.height / 2};
    for (const ScreenInfo& screen : displays.screens())
      if (screen.frame.contains(centre)) return screen.screenNumber;
    return std::nullopt;
  };
  // A window's drawable has the pixels of the display under the middle of its frame.
  windows.backingScaleFactor = [this](const WindowFrame& f) {
    const SimDisplay* main = displays.find(displays.mainDisplayID());
    const Point middle{f.x + f.width / 2, (main ? main->bounds.height() : 0) - (f.y + f.height / 2)};
    for (const SimDisplay& d : displays.displays())
      if (d.bounds.contains(middle) && d.scale > 0) return d.scale;
    return 2.0;
  };
  inputEvents.onPost = [this](const PostedEvent& posted) { landOnAppWindow(windows, posted.event); };
  capture.pictureSource = [this](DisplayID display, std::size_t width, std::size_t height) {
    return std::shared_ptr<PixelBuffer>(compositor.captureFrame(display, width, height));
  };
}

}  // namespace turnlet::sim
