#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/PlatformWindow.h"

namespace turnlet {

// The named timing curves of animations (cubic Béziers through (0, 0) and (1, 1)).
enum class TimingFunction { linear, easeIn, easeOut, easeInEaseOut };

// The window server's keys for its standard levels (the platform's numbers).
enum class WindowLevelKey : std::int32_t { normal = 4, floating = 5, statusWindow = 9, screenSaver = 13 };

// What the changes block of an animation group may do: set the group's duration and curve, then
// animate windows through their animators.
class AnimationContext {
 public:
  virtual ~AnimationContext() = default;
  virtual void setDuration(double seconds) = 0;  // 0.25 s unless set
  virtual void setTimingFunction(TimingFunction timing) = 0;  // linear unless set
  // Animates the window's alpha from its current value to alpha over the group's duration. A
  // newer animation of the same window, a direct setAlphaValue, or closing or destroying the
  // window ends this one early.
  virtual void animateAlphaValue(PlatformWindow& window, double alpha) = 0;
};

// The window server as the program uses it. Main loop only.
class WindowServices {
 public:
  virtual ~WindowServices() = default;

  // A new window whose content fills contentRect; off screen until ordered front. The caller
  // owns the window; nothing else keeps it.
  virtual std::unique_ptr<PlatformWindow> makeWindow(WindowFrame contentRect, WindowStyleMask style,
                                                     BackingStoreType backing, bool defer) = 0;

  virtual WindowLevel windowLevelForKey(WindowLevelKey key) = 0;

  // Runs changes at once, then calls completionHandler exactly once, later, on the main loop,
  // when every animation the group started has ended or been ended early (at once when there
  // were none).
  virtual void runAnimationGroup(std::function<void(AnimationContext&)> changes,
                                 std::function<void()> completionHandler) = 0;

  // The user asked the system to reduce motion; may change at any time.
  virtual bool accessibilityDisplayShouldReduceMotion() = 0;
};

}  // namespace turnlet
