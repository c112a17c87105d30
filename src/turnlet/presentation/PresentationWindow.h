#pragma once

#include <memory>
#include <vector>

#include "platform/DisplayServices.h"
#include "platform/MainLoop.h"
#include "platform/WindowServices.h"
#include "presentation/TouchInputControl.h"
#include "render/ScreenRenderer.h"
#include "runtime/Task.h"

namespace turnlet {

// The borderless full-screen window on the iPad display that shows the renderer's view, at the
// screen-saver level, on every space. It also carries the iPad's touch input: the session
// installs one while touch is on; disableTouch() stops it and keeps it among the retired inputs
// until the window moves it started have come to rest.
//
// States: touch off (no input, mouse ignored) and touch on (input set, mouse received). The
// window is on screen from creation; close() turns touch off and takes it off the screen, and
// the object stays readable until its owner drops it. Main loop only; the retirement tasks hold
// the window weakly.
class PresentationWindow : public std::enable_shared_from_this<PresentationWindow> {
  struct Passkey {};

 public:
  // Finds the screen of the display, covers it and starts the renderer. Throws AppFailure when
  // no screen shows that display; then nothing is shown and the renderer is not started.
  static std::shared_ptr<PresentationWindow> make(MainLoop& loop, DisplayServices& displays,
                                                  WindowServices& windows, ScreenRenderer& renderer,
                                                  DisplayID displayID);
  PresentationWindow(Passkey, MainLoop& loop, std::unique_ptr<PlatformWindow> window);

  void disableTouch();
  // Waits, one after another, for the motions of the inputs retired before the call.
  Task<void> waitForTouchMotionStop();
  void close();

  // The session turns touch on: disableTouch(), then setTouchInput(), then mouse events on.
  void setTouchInput(std::shared_ptr<TouchInputControl> input) { touch = std::move(input); }
  const std::shared_ptr<TouchInputControl>& touchInput() const { return touch; }
  const std::vector<std::shared_ptr<TouchInputControl>>& retiredTouchInputs() const { return retired; }
  PlatformWindow& platformWindow() { return *window; }

 private:
  static Task<void> forgetWhenStopped(std::weak_ptr<PresentationWindow> weak,
                                      std::shared_ptr<TouchInputControl> input);

  MainLoop& loop;
  std::unique_ptr<PlatformWindow> window;
  std::shared_ptr<TouchInputControl> touch;
  std::vector<std::shared_ptr<TouchInputControl>> retired;
};

}  // namespace turnlet
