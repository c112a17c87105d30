#include "sim/world/World.h"

#include <utility>

#include "sim/gpu/SimGpuView.h"

namespace turnlet::sim {

namespace {

// The frontmost application window under an event's location reacts to left clicks and to the
// wheels, as an application's content would; a left click brings it to the front. A button shows
// the left button held down on it, and counts a click when the button comes up on it again.
void landOnAppWindow(WindowServer& windows, const SimInputEvent& event) {
  if (!event.location) return;
  const Point p = *event.location;
  const bool click = !event.isScroll && event.type == MouseEventType::leftMouseDown;
  if (!event.isScroll && event.type == MouseEventType::leftMouseUp) {
    for (SimApplication& app : windows.applications)
      for (SimAppWindow& w : app.windows)
        for (SimElement& e : w.elements)
          if (std::exchange(e.held, false) && e.frame.contains({p.x - w.bounds.minX(), p.y - w.bounds.minY()})) ++e.clicks;
    return;
  }
  if (!click && !event.isScroll) return;
  for (const auto& [app, front] : windows.appWindowsFrontToBack()) {
    if (!front->bounds.contains(p)) continue;
    SimAppWindow* w = windows.appWindow(front->number);
    if (!w) return;
    if (click) {
      ++w->clicks;
      w->lastClick = Point{p.x - w->bounds.minX(), p.y - w->bounds.minY()};
      windows.raiseAppWindow(w->number);
      const Point local = *w->lastClick;
      for (auto e = w->elements.rbegin(); e != w->elements.rend(); ++e) {
        if (!e->frame.contains(local)) continue;
        e->held = e->role == "AXButton" && e->enabled;
        break;
      }
    } else {
      w->scrolledY += event.wheels[0];
      w->scrolledX += event.wheels[1];
    }
    return;
  }
}

// Takes away what the description's capabilities say the Mac lacks.
void removeCapabilities(World& world, const WorldCapabilities& c) {
  using Classes = WorldCapabilities::Classes;
  if (c.virtualDisplayClasses == Classes::missing) world.virtualDisplayClasses.removeClass("CGVirtualDisplaySettings");
  if (c.virtualDisplayClasses == Classes::differentEncoding)  // sizes as doubles where integers are sent
    world.virtualDisplayClasses.setTypeEncoding("CGVirtualDisplayMode", "initWithWidth:height:refreshRate:",
                                                "@40@0:8d16d24d32");
  world.virtualDisplayClasses.initWithDescriptorYieldsNothing = c.virtualDisplayClasses == Classes::refusing;
  world.permissions.screenCapture.granted = c.screenRecording;
  world.permissions.postEvents.granted = c.postEvents;
  world.gpu.deviceMissing = c.gpu == WorldCapabilities::Gpu::none;
  if (c.gpu == WorldCapabilities::Gpu::shaderFails)
    world.gpu.libraryError = PlatformError("MTLLibraryErrorDomain", 3, "program_source: error: the GPU cannot compile this program");
  world.gpu.turnsBackwards = c.gpu == WorldCapabilities::Gpu::turnsBackwards;
  world.virtualDisplayClasses.displaysAppear = c.newDisplayAppears;
  world.virtualDisplayClasses.releasedDisplaysLeave = c.releasedDisplayLeaves;
  if (!c.shareableContent)
    world.capture.fetchFault.error =
        PlatformError("com.apple.ScreenCaptureKit.SCStreamErrorDomain", -3801, "The user declined TCCs for application, window, display capture");
  world.inputEvents.refuseSource = !c.eventSource;
  world.libraries.symbolMissing = !c.brightnessFunction;
  world.system.major = c.systemVersion[0];
  world.system.minor = c.systemVersion[1];
  world.system.patch = c.systemVersion[2];
}

}  // namespace

World::World(MainLoop& loop, const WorldDescription& description)
    : loop(loop), displays(loop), virtualDisplayClasses(loop, displays), gpu(loop) {
  displays.setUp(description.displays, description.mainDisplay);
  removeCapabilities(*this, description.capabilities);
  windows.applications = description.applications;
  // A window is on the screen under the middle of its frame, with that display's pixels.
  windows.screenUnder = [this](const WindowFrame& frame) -> std::optional<WindowScreen> {
    const Point centre{frame.x + frame.width / 2, frame.y + frame.height / 2};
    for (const ScreenInfo& screen : displays.screens()) {
      if (!screen.frame.contains(centre) || !screen.screenNumber) continue;
      const SimDisplay* display = displays.find(DisplayID(*screen.screenNumber));
      return WindowScreen{*screen.screenNumber, display && display->scale > 0 ? display->scale : 2};
    }
    return std::nullopt;
  };
  inputEvents.clock = &loop;
  inputEvents.onPost = [this](const PostedEvent& posted) { landOnAppWindow(windows, posted.event); };
  capture.pictureSource = [this](DisplayID display, std::size_t width, std::size_t height) {
    return std::shared_ptr<PixelBuffer>(compositor.captureFrame(display, width, height));
  };
  compositor.mainBrightness = [this] { return libraries.brightness(displays.mainDisplayID()); };
  compositor.dark = [this] { return workspace.dark(); };
  capture.changeCount = [this](DisplayID display) { return compositor.changeCount(display); };
  // A still desktop needs no spare pictures: the memory a burst of frames took goes back.
  capture.onQuiet = [this] {
    compositor.releaseSpareFrames();
    for (const ServerWindow* w : windows.windows())
      if (auto view = std::dynamic_pointer_cast<SimGpuView>(w->contentView())) view->releaseSpareDrawables();
  };
}

}  // namespace turnlet::sim
