#pragma once

#include <cstdint>
#include <memory>

#include "brightness/BrightnessShade.h"
#include "platform/WindowServices.h"

namespace turnlet {

// A black, click-through window one level above the presentation window. show() fades it to the
// new opacity over 0.25 s (ease-out) and takes it off the screen once a fade to 0 has finished.
// Every new target and close() bump transition, so the completion of an older fade does nothing.
// Main loop only; animation completions hold the shade weakly.
class BrightnessShadeWindow : public BrightnessShade, public std::enable_shared_from_this<BrightnessShadeWindow> {
  struct Passkey {};

 public:
  static constexpr double fadeSeconds = 0.25;

  static std::shared_ptr<BrightnessShadeWindow> make(WindowServices& windows);
  BrightnessShadeWindow(Passkey, WindowServices& windows);

  void show(WindowFrame frame, double opacity) override;
  void close() override;

  double targetOpacity() const { return target; }
  std::uint64_t transition() const { return transitionCount; }

 private:
  WindowServices& windows;
  double target = 0;
  std::uint64_t transitionCount = 0;
  std::unique_ptr<PlatformWindow> window;
};

}  // namespace turnlet
