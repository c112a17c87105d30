#pragma once

#include <memory>
#include <optional>

#include "display/DisplayInfo.h"
#include "platform/DisplayServices.h"
#include "platform/WindowServices.h"
#include "presentation/CoverWindow.h"
#include "runtime/Task.h"

namespace turnlet {

// Covers the iPad display with a black window while the display layout changes: the session
// orders the cover front and fades it in before the change, fades it out after, then closes.
//
// States: created (cover off screen, alpha 0, following layout changes) → shown (the session
// ordered it front) → closed (no window, no observer; final). The fade closes itself when the
// iPad is gone, is another display now, or fails validation. Main loop only; the layout observer
// holds the fade weakly.
class RotationFade : public std::enable_shared_from_this<RotationFade> {
  struct Passkey {};

 public:
  using CoverWindow = turnlet::CoverWindow;

  static std::shared_ptr<RotationFade> make(DisplayServices& displays, WindowServices& windows, DisplayInfo display);
  RotationFade(Passkey, DisplayServices& displays, WindowServices& windows, DisplayInfo display);
  RotationFade(const RotationFade&) = delete;
  RotationFade& operator=(const RotationFade&) = delete;

  // The cover; null after close().
  PlatformWindow* window() const { return cover.get(); }
  const DisplayInfo& display() const { return target; }

  void updateFrame();
  // Fades the cover to alpha over seconds and returns when the fade has finished (at once with
  // reduce motion, or when closed). Await it at once: it does not touch the fade after it starts
  // waiting, so the fade may be closed or dropped meanwhile.
  Task<void> animate(double alpha, double seconds);
  void close();

 private:
  DisplayServices& displays;
  WindowServices& windows;
  DisplayInfo target;
  std::unique_ptr<PlatformWindow> cover;
  std::optional<DisplayServices::ObserverToken> screenObserver;
};

}  // namespace turnlet
