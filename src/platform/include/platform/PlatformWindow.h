#pragma once

#include <cstdint>
#include <memory>

#include "platform/GpuView.h"
#include "platform/WindowFrame.h"

namespace turnlet {

// Values of the window system's enumerations and bit sets, with the platform's numbers.
using WindowStyleMask = std::uint64_t;
inline constexpr WindowStyleMask windowStyleBorderless = 0;

enum class BackingStoreType : std::uint64_t { retained = 0, nonretained = 1, buffered = 2 };

enum class WindowAnimationBehavior : std::int64_t {
  defaultBehavior = 0,
  none = 2,
  documentWindow = 3,
  utilityWindow = 4,
  alertPanel = 5,
};

using WindowCollectionBehavior = std::uint64_t;
inline constexpr WindowCollectionBehavior collectionCanJoinAllSpaces = 1;
inline constexpr WindowCollectionBehavior collectionStationary = 16;
inline constexpr WindowCollectionBehavior collectionIgnoresCycle = 64;
inline constexpr WindowCollectionBehavior collectionFullScreenAuxiliary = 256;

// A window level as the window server orders windows: higher levels stay in front.
using WindowLevel = std::int32_t;

struct Color {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;
  static constexpr Color black() { return {0, 0, 0, 1}; }
  friend bool operator==(const Color&, const Color&) = default;
};

// One window of the window server, as its creator drives it.
//
// Made by WindowServices::makeWindow and owned by whoever made it: there is exactly one such
// object per platform window. Destroying it takes the window away; close() takes it off the
// screen for good but leaves the object readable. A new window is not on screen, not visible,
// alpha 1, until ordered front. Main loop only. From inside a callback about the window (the
// completion of an animation group that animates it, an occlusion observer, its content view's
// draw) the program may close and destroy it: the platform keeps the window and what it is
// calling alive until the call returns.
//
// The same window as the views inside it see it (occlusion) is their GpuView::window().
class PlatformWindow {
 public:
  virtual ~PlatformWindow() = default;

  virtual void setReleasedWhenClosed(bool released) = 0;
  virtual void setBackgroundColor(Color color) = 0;
  virtual void setOpaque(bool opaque) = 0;
  virtual void setHasShadow(bool shadow) = 0;
  virtual void setIgnoresMouseEvents(bool ignores) = 0;
  virtual bool ignoresMouseEvents() const = 0;
  virtual void setHidesOnDeactivate(bool hides) = 0;
  virtual void setCanHide(bool canHide) = 0;
  virtual void setAnimationBehavior(WindowAnimationBehavior behavior) = 0;
  // Setting the alpha directly ends a running alpha animation of this window.
  virtual void setAlphaValue(double alpha) = 0;
  virtual double alphaValue() const = 0;  // as shown now, animations included
  virtual void setLevel(WindowLevel level) = 0;
  virtual void setCollectionBehavior(WindowCollectionBehavior behavior) = 0;
  // What the window answers when the system asks whether it may become key or main.
  virtual void setCanBecomeKeyWindow(bool can) = 0;
  virtual void setCanBecomeMainWindow(bool can) = 0;

  virtual WindowFrame frame() const = 0;
  // display: redraw at once.
  virtual void setFrame(WindowFrame frame, bool display) = 0;

  // Puts the window in front of the others of its level without activating the application.
  virtual void orderFrontRegardless() = 0;
  virtual void orderOut() = 0;
  virtual void close() = 0;
  virtual bool isVisible() const = 0;

  // The window keeps its content view until it gets another or is destroyed.
  virtual void setContentView(std::shared_ptr<GpuView> view) = 0;
};

}  // namespace turnlet
