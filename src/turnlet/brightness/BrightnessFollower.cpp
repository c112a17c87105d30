#include "brightness/BrightnessFollower.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "brightness/BrightnessShadeWindow.h"
#include "brightness/DisplayBrightnessReader.h"
#include "display/DisplayInfo.h"
#include "presentation/ScreenOfDisplay.h"

namespace turnlet {

std::shared_ptr<BrightnessFollower> BrightnessFollower::make(MainLoop& loop, DisplayServices& displays,
                                                             const TextServices& text, WindowServices& windows,
                                                             LibraryLoader& libraries) {
  auto reader = std::make_shared<DisplayBrightnessReader>(libraries);
  Operations operations{
      [reader](DisplayID display) { return reader->read(display); },
      [&displays] { return displays.mainDisplayID(); },
      [&displays, &text](std::optional<DisplayID> preferred) -> std::optional<Destination> {
        DisplayInfo found;
        try {
          found = DisplayInfo::findSidecar(displays, text, preferred);
        } catch (const Error&) {
          return std::nullopt;
        }
        const auto screen = screenOfDisplay(displays, found.id);
        if (!screen) return std::nullopt;
        return Destination{found.id, WindowFrame::ofScreen(*screen)};
      },
      [&windows]() -> std::shared_ptr<BrightnessShade> { return BrightnessShadeWindow::make(windows); },
  };
  return make(loop, displays, std::move(operations));
}

std::shared_ptr<BrightnessFollower> BrightnessFollower::make(MainLoop& loop, DisplayServices& displays,
                                                             Operations operations) {
  return std::make_shared<BrightnessFollower>(Passkey{}, loop, displays, std::move(operations));
}

BrightnessFollower::BrightnessFollower(Passkey, MainLoop& loop, DisplayServices& displays, Operations operations)
    : loop(loop), displays(displays), operations(std::move(operations)) {}

void BrightnessFollower::setEnabled(bool on) {
  if (on == enabled) return;
  enabled = on;
  if (!on) {
    if (auto token = std::exchange(screenObserver, std::nullopt)) displays.removeScreenParametersObserver(*token);
    if (auto stopped = std::move(timer)) stopped->invalidate();
    removeShade();
    followed.reset();
    setStatus("Software dimming · Off");
    return;
  }
  screenObserver = displays.addScreenParametersObserver([weak = weak_from_this()] {
    if (auto self = weak.lock()) self->refreshDisplays();
  });
  refreshDisplays();
}

void BrightnessFollower::refreshDisplays() {
  if (!enabled) return;
  const std::optional<Destination> found = operations.findDestination(preferredDisplayID);
  const auto idOf = [](const std::optional<Destination>& d) { return d ? std::optional(d->id) : std::nullopt; };
  if (idOf(found) != idOf(followed)) removeShade();
  followed = found;
  if (!found) {
    if (auto stopped = std::move(timer)) stopped->invalidate();
    removeShade();
    setStatus("Software dimming · Waiting for Sidecar");
    return;
  }
  sample();
  // The status change inside sample() may have switched following off or lost the iPad again.
  if (!enabled || !followed || timer) return;
  timer = std::make_unique<RepeatingTimer>(loop, sampleIntervalSeconds, sampleToleranceSeconds,
                                           [weak = weak_from_this()] {
                                             if (auto self = weak.lock()) self->sample();
                                           });
}

double BrightnessFollower::shownLevel(double b) {
  const double t = std::max(1 - 4 * b, 0.0);
  return b * (1 + 2 * t * t);
}

void BrightnessFollower::sample() {
  if (!enabled || !followed) return;
  const DisplayID main = operations.mainDisplayID();
  if (main == 0 || main == followed->id) {
    removeShade();
    setStatus("Software dimming · Keep your Mac as main display");
    return;
  }
  const std::optional<double> read = operations.readBrightness(main);
  if (!read || !std::isfinite(*read) || *read < 0 || *read > 1) {
    removeShade();
    setStatus("Main display brightness is unavailable");
    return;
  }
  const double b = *read;
  const double opacity = 1 - shownLevel(b);
  if (!shade && opacity > 0) shade = operations.makeShade();
  if (shade) shade->show(followed->frame, opacity);
  // Rounded half away from zero; a negative zero shows as 0.
  setStatus("Software dimming · Following " + std::to_string(std::llround(b * 100)) + "%");
}

void BrightnessFollower::setStatus(const std::string& text) {
  if (text == statusText) return;
  statusText = text;
  if (onChange) {
    auto callback = onChange;
    callback();
  }
}

void BrightnessFollower::removeShade() {
  if (auto closing = std::move(shade)) closing->close();
}

}  // namespace turnlet
