#pragma once

#include <memory>

#include "macos/windows/AnimationGroups.h"
#include "platform/MainLoop.h"
#include "platform/WindowServices.h"

namespace turnlet::macos {

// The window server over AppKit: borderless windows (one NSWindow each, never key or main unless
// asked), levels from CoreGraphics, alpha animations through NSAnimationContext whose completions
// run once on the main loop (AnimationGroups), and the reduce-motion setting. Frames are AppKit's
// own space (bottom-left origin), as WindowFrame is; a frame with a non-finite value leaves the
// window where it was.
//
// Main thread only. A window's object ends when its owner drops it: the window leaves the screen
// then, and the NSWindow itself is let go on the next turn of the main queue, so that a callback
// about the window (an occlusion observer, its view's draw) that destroyed it returns into a live
// object. Under ARC the wrapper owns the NSWindow: released-when-closed stays off whatever is set.
class AppKitWindowServices final : public WindowServices {
 public:
  explicit AppKitWindowServices(MainLoop& loop) : groups(std::make_shared<AnimationGroups>(loop)) {}

  std::unique_ptr<PlatformWindow> makeWindow(WindowFrame contentRect, WindowStyleMask style, BackingStoreType backing,
                                             bool defer) override;
  WindowLevel windowLevelForKey(WindowLevelKey key) override;
  void runAnimationGroup(std::function<void(AnimationContext&)> changes, std::function<void()> completionHandler) override;
  bool accessibilityDisplayShouldReduceMotion() override;

 private:
  std::shared_ptr<AnimationGroups> groups;
  AnimationGroups::WindowId nextWindow = 1;
};

}  // namespace turnlet::macos
