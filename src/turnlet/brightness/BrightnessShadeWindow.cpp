#include "brightness/BrightnessShadeWindow.h"

namespace turnlet {

std::shared_ptr<BrightnessShadeWindow> BrightnessShadeWindow::make(WindowServices& windows) {
  return std::make_shared<BrightnessShadeWindow>(Passkey{}, windows);
}

BrightnessShadeWindow::BrightnessShadeWindow(Passkey, WindowServices& windows)
    : windows(windows),
      window(windows.makeWindow(WindowFrame{}, windowStyleBorderless, BackingStoreType::buffered, false)) {
  window->setCanBecomeKeyWindow(false);
  window->setCanBecomeMainWindow(false);
  window->setReleasedWhenClosed(false);
  window->setBackgroundColor(Color::black());
  window->setOpaque(false);
  window->setAlphaValue(0);
  window->setHasShadow(false);
  window->setIgnoresMouseEvents(true);
  window->setHidesOnDeactivate(false);
  window->setCanHide(false);
  window->setAnimationBehavior(WindowAnimationBehavior::none);
  window->setLevel(windows.windowLevelForKey(WindowLevelKey::screenSaver) + 1);
  window->setCollectionBehavior(collectionCanJoinAllSpaces | collectionStationary | collectionIgnoresCycle |
                                collectionFullScreenAuxiliary);
}

void BrightnessShadeWindow::show(WindowFrame frame, double opacity) {
  if (!(window->frame() == frame)) window->setFrame(frame, true);
  if (opacity == target) return;
  target = opacity;
  const std::uint64_t token = ++transitionCount;
  if (opacity > 0 && !window->isVisible()) window->orderFrontRegardless();
  windows.runAnimationGroup(
      [&](AnimationContext& context) {
        context.setDuration(fadeSeconds);
        context.setTimingFunction(TimingFunction::easeOut);
        context.animateAlphaValue(*window, opacity);
      },
      [weak = weak_from_this(), token] {
        auto self = weak.lock();
        if (self && self->transitionCount == token && self->target == 0) self->window->orderOut();
      });
}

void BrightnessShadeWindow::close() {
  ++transitionCount;
  target = 0;
  window->close();
}

}  // namespace turnlet
