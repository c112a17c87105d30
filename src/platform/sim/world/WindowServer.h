#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/MainLoop.h"
#include "platform/WindowServices.h"
#include "sim/app/SimApplication.h"
#include "sim/gpu/SimGpuView.h"

namespace turnlet::sim {

class WindowServer;

// The screen a window is on: its "NSScreenNumber" and pixels per point, the size of a pixel of
// its GPU view's drawable (2 where a window is on no screen).
struct WindowScreen {
  std::int64_t number = 0;
  double scale = 2;
};

// One window of the simulated window server, handed to the program that made it. Everything the
// program set can be read back. The simulation draws no title bars: the frame is the content
// rectangle. The content view, when it is a SimGpuView, sees this window's occlusion through a
// SimWindow: on an awake screen while the window is ordered in, and visible while it is ordered in
// and not wholly covered by a window in front of it that hides what lies below (shown, not fading,
// at full alpha with an opaque background), as the fade's cover hides the presentation window.
class ServerWindow final : public PlatformWindow {
 public:
  struct Properties {
    WindowStyleMask style = windowStyleBorderless;
    BackingStoreType backing = BackingStoreType::buffered;
    bool deferred = false;
    bool releasedWhenClosed = true;
    Color backgroundColor{1, 1, 1, 1};
    bool opaque = true;
    bool hasShadow = true;
    bool ignoresMouseEvents = false;
    bool hidesOnDeactivate = false;
    bool canHide = true;
    WindowAnimationBehavior animationBehavior = WindowAnimationBehavior::defaultBehavior;
    WindowLevel level = 0;
    WindowCollectionBehavior collectionBehavior = 0;
    bool canBecomeKey = true;
    bool canBecomeMain = true;
  };

  ServerWindow(WindowServer& server, WindowFrame contentRect, WindowStyleMask style, BackingStoreType backing,
               bool defer);
  ~ServerWindow() override;
  ServerWindow(const ServerWindow&) = delete;
  ServerWindow& operator=(const ServerWindow&) = delete;

  void setReleasedWhenClosed(bool released) override { props.releasedWhenClosed = released; }
  void setBackgroundColor(Color color) override { props.backgroundColor = color; }
  void setOpaque(bool opaque) override { props.opaque = opaque; }
  void setHasShadow(bool shadow) override { props.hasShadow = shadow; }
  void setIgnoresMouseEvents(bool ignores) override { props.ignoresMouseEvents = ignores; }
  bool ignoresMouseEvents() const override { return props.ignoresMouseEvents; }
  void setHidesOnDeactivate(bool hides) override { props.hidesOnDeactivate = hides; }
  void setCanHide(bool canHide) override { props.canHide = canHide; }
  void setAnimationBehavior(WindowAnimationBehavior behavior) override { props.animationBehavior = behavior; }
  void setAlphaValue(double alpha) override;
  double alphaValue() const override;
  void setLevel(WindowLevel level) override { props.level = level; }
  void setCollectionBehavior(WindowCollectionBehavior behavior) override { props.collectionBehavior = behavior; }
  void setCanBecomeKeyWindow(bool can) override { props.canBecomeKey = can; }
  void setCanBecomeMainWindow(bool can) override { props.canBecomeMain = can; }
  WindowFrame frame() const override { return currentFrame; }
  void setFrame(WindowFrame frame, bool display) override;
  void orderFrontRegardless() override;
  void orderOut() override;
  void close() override;
  bool isVisible() const override { return visible; }
  void setContentView(std::shared_ptr<GpuView> view) override;

  // Observations.
  const Properties& properties() const { return props; }
  bool isClosed() const { return closed; }
  int frameChanges() const { return setFrameCalls; }
  bool isAnimating() const { return animation.has_value(); }
  const std::shared_ptr<GpuView>& contentView() const { return content; }

 private:
  friend class WindowServer;
  struct AlphaAnimation {
    double from, to, start, duration;
    TimingFunction timing;
    std::uint64_t group;
    MainLoop::TimerId timer;
  };
  void setShown(bool shown);
  void attachView(bool attach);
  // The content view receives touches over the whole window, on the screen under it.
  void placeTouchView();
  std::optional<WindowScreen> screen() const;

  WindowServer* server;
  Properties props;
  WindowFrame currentFrame;
  double alpha = 1;
  bool visible = false;
  bool closed = false;
  int setFrameCalls = 0;
  std::uint64_t orderStamp = 0;
  std::optional<AlphaAnimation> animation;
  std::shared_ptr<GpuView> content;
  std::shared_ptr<SimWindow> occlusion;
};

// The simulated window server: the one store of windows of the simulated Mac. Windows are kept
// ordered by level, then by the order they were last brought to the front. Alpha animations
// advance in the main loop's virtual time along the named curves, so a test reads the alpha part
// way through a fade; each group's completion handler is posted on the loop once all its
// animations have ended, run to their end or been ended early. Main loop only.
class WindowServer : public WindowServices {
 public:
  explicit WindowServer(MainLoop& loop);
  ~WindowServer() override;

  std::unique_ptr<PlatformWindow> makeWindow(WindowFrame contentRect, WindowStyleMask style, BackingStoreType backing,
                                             bool defer) override;
  WindowLevel windowLevelForKey(WindowLevelKey key) override;
  void runAnimationGroup(std::function<void(AnimationContext&)> changes,
                         std::function<void()> completionHandler) override;
  bool accessibilityDisplayShouldReduceMotion() override { return reduceMotion; }

  // Control.
  bool reduceMotion = false;
  // The screen a window with this frame is on. The World answers from the screen list; without
  // an answer a window is on no screen.
  std::function<std::optional<WindowScreen>(const WindowFrame&)> screenUnder;
  // The other applications' windows, by application; the list of windows orders them by layer,
  // then the latest brought to the front, then application order, then window order (front to back).
  std::vector<SimApplication> applications;
  SimAppWindow* appWindow(WindowNumber number);
  SimApplication* application(ProcessID pid);
  // Closes an application's window (gone from the list and from Accessibility).
  void closeAppWindow(WindowNumber number);
  // Brings an application's window to the front of its layer, as a click on it does.
  void raiseAppWindow(WindowNumber number);
  // The applications' on-screen windows, front to back, with their owners.
  std::vector<std::pair<const SimApplication*, const SimAppWindow*>> appWindowsFrontToBack() const;

  // Every window that exists and is not closed, front to back.
  std::vector<const ServerWindow*> windows() const;
  int animationsStarted() const { return started; }
  int completionsPending() const;

  // The curve's value (0 to 1) at progress x (0 to 1).
  static double timingCurve(TimingFunction timing, double x);

 private:
  friend class ServerWindow;
  class Context;
  struct Group {
    int pending = 0;
    bool collecting = true;
    std::function<void()> completion;
  };
  void animateAlpha(ServerWindow& window, double to, double duration, TimingFunction timing, std::uint64_t group);
  void endAnimation(ServerWindow& window);
  // Tells every window's view whether it can be seen now (after any change of order, frame or alpha).
  void updateOcclusion();
  void groupAnimationEnded(std::uint64_t group);

  MainLoop& loop;
  std::vector<ServerWindow*> live;
  std::map<std::uint64_t, Group> groups;
  std::uint64_t nextGroup = 1;
  std::uint64_t nextOrderStamp = 1;
  std::uint64_t nextRaise = 1;
  int started = 0;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

}  // namespace turnlet::sim
