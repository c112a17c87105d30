#include "presentation/RotationFade.h"

#include <utility>

#include "display/AppFailure.h"
#include "runtime/Continuation.h"

namespace turnlet {

namespace {

constexpr WindowCollectionBehavior everySpaceAuxiliary =
    collectionCanJoinAllSpaces | collectionStationary | collectionIgnoresCycle | collectionFullScreenAuxiliary;

bool sameDisplay(const DisplayInfo& remembered, const DisplayInfo& now) {
  if (now.id != remembered.id || now.vendor != remembered.vendor) return false;
  return !remembered.persistentID || (now.persistentID && *now.persistentID == *remembered.persistentID);
}

}  // namespace

std::shared_ptr<RotationFade> RotationFade::make(DisplayServices& displays, WindowServices& windows,
                                                 DisplayInfo display) {
  auto fade = std::make_shared<RotationFade>(Passkey{}, displays, windows, std::move(display));
  fade->screenObserver = displays.addScreenParametersObserver([weak = fade->weak_from_this()] {
    auto self = weak.lock();
    if (!self) return;
    try {
      self->updateFrame();
    } catch (...) {
      // Nothing may escape into the platform's notification; the next one, or the operation
      // that shows the cover, places it again.
    }
  });
  return fade;
}

RotationFade::RotationFade(Passkey, DisplayServices& displays, WindowServices& windows, DisplayInfo display)
    : displays(displays), windows(windows), target(std::move(display)) {
  cover = CoverWindow::make(windows, WindowFrame{}, windowStyleBorderless, BackingStoreType::buffered, false);
  cover->setReleasedWhenClosed(false);
  cover->setBackgroundColor(Color::black());
  cover->setOpaque(true);
  cover->setHasShadow(false);
  cover->setIgnoresMouseEvents(true);
  cover->setHidesOnDeactivate(false);
  cover->setCanHide(false);
  cover->setAnimationBehavior(WindowAnimationBehavior::none);
  cover->setAlphaValue(0);
  // Above the presentation window (+0) and the brightness shade (+1).
  cover->setLevel(windows.windowLevelForKey(WindowLevelKey::screenSaver) + 2);
  cover->setCollectionBehavior(everySpaceAuxiliary);
}

void RotationFade::updateFrame() {
  if (!cover) return;
  const std::vector<DisplayInfo> online = DisplayInfo::online(displays);
  const DisplayInfo* found = nullptr;
  for (const DisplayInfo& d : online) {
    if (sameDisplay(target, d)) {
      found = &d;
      break;
    }
  }
  if (!found) return close();
  try {
    found->validate();
  } catch (const AppFailure&) {
    return close();
  }
  // Display bounds have their origin at the main display's top-left, y down; window frames at
  // its bottom-left, y up.
  const double mainHeight = displays.bounds(displays.mainDisplayID()).height();
  const Rect& b = found->bounds;
  const WindowFrame frame{b.minX(), mainHeight - b.maxY(), b.width(), b.height()};
  if (!(cover->frame() == frame)) cover->setFrame(frame, true);
}

Task<void> RotationFade::animate(double alpha, double seconds) {
  if (!cover) co_return;
  if (windows.accessibilityDisplayShouldReduceMotion()) {
    cover->setAlphaValue(alpha);
    co_return;
  }
  co_await withContinuation<void>([&](Continuation<void> done) {
    windows.runAnimationGroup(
        [&](AnimationContext& context) {
          context.setDuration(seconds);
          context.setTimingFunction(TimingFunction::easeInEaseOut);
          context.animateAlphaValue(*cover, alpha);
        },
        [done] { done.resume(); });
  });
}

void RotationFade::close() {
  if (auto token = std::exchange(screenObserver, std::nullopt)) displays.removeScreenParametersObserver(*token);
  if (auto window = std::move(cover)) {
    window->orderOut();
    window->close();
  }
}

}  // namespace turnlet
