#pragma once

#include <cstdint>
#include <functional>

namespace turnlet {

// A window as far as the views in it need one: one object per platform window, owned by whoever
// created the window (a view in it holds it weakly and always hands out the same object).
//
// Main loop only, created and destroyed there. Occlusion observers run on the main loop, later than the change that caused
// them; a removed observer is never called again. An observer may remove observers, itself
// included, and its owner may destroy the window meanwhile (see PlatformWindow).
class Window {
 public:
  using ObserverId = std::uint64_t;

  // Bit of occlusionState(): some part of the window can be seen.
  static constexpr std::uint64_t occlusionStateVisible = 2;

  virtual ~Window() = default;
  virtual std::uint64_t occlusionState() const = 0;
  // Ordered in, on a screen whose display is awake: drawing into the window can reach the
  // display. Windows covering it do not matter, unlike for occlusionState().
  virtual bool isOnAwakeScreen() const = 0;
  virtual ObserverId addOcclusionStateObserver(std::function<void()> handler) = 0;
  virtual void removeOcclusionStateObserver(ObserverId id) = 0;
};

}  // namespace turnlet
