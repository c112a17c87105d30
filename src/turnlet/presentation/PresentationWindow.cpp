#include "presentation/PresentationWindow.h"

#include <algorithm>
#include <utility>

#include "display/AppFailure.h"
#include "presentation/ScreenOfDisplay.h"

namespace turnlet {

namespace {

constexpr WindowCollectionBehavior everySpaceAuxiliary =
    collectionCanJoinAllSpaces | collectionStationary | collectionIgnoresCycle | collectionFullScreenAuxiliary;

// Awaits an input's motion task; how it ended does not matter here.
Task<void> awaitMotionStop(std::shared_ptr<TouchInputControl> input) {
  auto task = input->motionStopTask();
  if (!task) co_return;
  try {
    co_await *task;
  } catch (const Error&) {
  }
}

}  // namespace

std::shared_ptr<PresentationWindow> PresentationWindow::make(MainLoop& loop, DisplayServices& displays,
                                                             WindowServices& windows, ScreenRenderer& renderer,
                                                             DisplayID displayID) {
  const auto screen = screenOfDisplay(displays, displayID);
  if (!screen) throw AppFailure("The Sidecar display is no longer connected.");
  const WindowFrame frame = WindowFrame::ofScreen(*screen);

  auto window = windows.makeWindow(frame, windowStyleBorderless, BackingStoreType::buffered, false);
  window->setCanBecomeKeyWindow(false);
  window->setCanBecomeMainWindow(false);
  window->setReleasedWhenClosed(false);
  window->setBackgroundColor(Color::black());
  window->setOpaque(true);
  window->setHasShadow(false);
  window->setIgnoresMouseEvents(true);
  window->setLevel(windows.windowLevelForKey(WindowLevelKey::screenSaver));
  window->setCollectionBehavior(everySpaceAuxiliary);
  window->setContentView(renderer.view());
  window->setFrame(frame, true);
  window->orderFrontRegardless();
  auto presentation = std::make_shared<PresentationWindow>(Passkey{}, loop, std::move(window));
  renderer.startRendering();
  return presentation;
}

PresentationWindow::PresentationWindow(Passkey, MainLoop& loop, std::unique_ptr<PlatformWindow> window)
    : loop(loop), window(std::move(window)) {}

void PresentationWindow::disableTouch() {
  if (auto input = std::exchange(touch, nullptr)) {
    input->stop();
    retired.push_back(input);
    spawn(loop, forgetWhenStopped(weak_from_this(), input));
  }
  window->setIgnoresMouseEvents(true);
}

Task<void> PresentationWindow::forgetWhenStopped(std::weak_ptr<PresentationWindow> weak,
                                                 std::shared_ptr<TouchInputControl> input) {
  co_await awaitMotionStop(input);
  if (auto self = weak.lock()) std::erase(self->retired, input);
}

Task<void> PresentationWindow::waitForTouchMotionStop() {
  // Only the local list is used after the first await, so the window may go away meanwhile.
  const auto taken = std::exchange(retired, {});
  for (const auto& input : taken) co_await awaitMotionStop(input);
}

void PresentationWindow::close() {
  disableTouch();
  window->close();
}

}  // namespace turnlet
