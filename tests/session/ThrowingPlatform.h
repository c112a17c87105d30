#pragma once

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/CaptureStream.h"
#include "platform/DisplayServices.h"
#include "platform/Permissions.h"
#include "platform/WindowServices.h"
#include "platform/WorkspaceNotifications.h"

namespace turnlet {

// One throw armed at a platform call: the call named (any call when the name is empty), after
// letting `skip` such calls through; thrown once, before the call reaches the platform.
struct ThrowPlan {
  std::string call;
  int skip = 0;
  std::exception_ptr error;

  void arm(std::string name, std::exception_ptr thrown, int after = 0) {
    call = std::move(name), error = std::move(thrown), skip = after;
  }
  void at(std::string_view name) {
    if (!error || (!call.empty() && call != name) || skip-- > 0) return;
    std::rethrow_exception(std::exchange(error, nullptr));
  }
};

// The platform services the session uses, forwarding every call unless a throw is armed at it.
template <class Service>
struct Throwing : Service {
  Throwing(Service& real, ThrowPlan& plan) : real(real), plan(plan) {}
  Service& real;
  ThrowPlan& plan;
};

struct ThrowingDisplays : Throwing<DisplayServices> {
  using Throwing::Throwing;
  DisplayError onlineDisplayList(std::span<DisplayID> b, std::uint32_t& n) override {
    return plan.at("onlineDisplayList"), real.onlineDisplayList(b, n);
  }
  Rect bounds(DisplayID id) override { return plan.at("bounds"), real.bounds(id); }
  std::uint32_t vendorNumber(DisplayID id) override { return plan.at("vendorNumber"), real.vendorNumber(id); }
  bool isBuiltin(DisplayID id) override { return plan.at("isBuiltin"), real.isBuiltin(id); }
  bool isInMirrorSet(DisplayID id) override { return plan.at("isInMirrorSet"), real.isInMirrorSet(id); }
  DisplayID mainDisplayID() override { return plan.at("mainDisplayID"), real.mainDisplayID(); }
  bool isOnline(DisplayID id) override { return plan.at("isOnline"), real.isOnline(id); }
  std::optional<std::string> uuidString(DisplayID id) override { return plan.at("uuidString"), real.uuidString(id); }
  std::optional<PixelSize> currentModePixelSize(DisplayID id) override {
    return plan.at("currentModePixelSize"), real.currentModePixelSize(id);
  }
  std::vector<ScreenInfo> screens() override { return plan.at("screens"), real.screens(); }
  DisplayError beginConfiguration(std::optional<DisplayConfiguration>& c) override {
    return plan.at("beginConfiguration"), real.beginConfiguration(c);
  }
  DisplayError configureOrigin(DisplayConfiguration c, DisplayID id, std::int32_t x, std::int32_t y) override {
    return plan.at("configureOrigin"), real.configureOrigin(c, id, x, y);
  }
  DisplayError completeConfiguration(DisplayConfiguration c, std::uint32_t option) override {
    return plan.at("completeConfiguration"), real.completeConfiguration(c, option);
  }
  DisplayError cancelConfiguration(DisplayConfiguration c) override {
    return plan.at("cancelConfiguration"), real.cancelConfiguration(c);
  }
  ObserverToken addScreenParametersObserver(std::function<void()> block) override {
    return plan.at("addScreenParametersObserver"), real.addScreenParametersObserver(std::move(block));
  }
  void removeScreenParametersObserver(ObserverToken token) override {
    plan.at("removeScreenParametersObserver"), real.removeScreenParametersObserver(token);
  }
};

struct ThrowingPermissions : Throwing<Permissions> {
  using Throwing::Throwing;
  bool preflightScreenCaptureAccess() override { return plan.at("preflightScreenCapture"), real.preflightScreenCaptureAccess(); }
  bool requestScreenCaptureAccess() override { return plan.at("requestScreenCapture"), real.requestScreenCaptureAccess(); }
  bool preflightPostEventAccess() override { return plan.at("preflightPostEvent"), real.preflightPostEventAccess(); }
  bool requestPostEventAccess() override { return plan.at("requestPostEvent"), real.requestPostEventAccess(); }
};

struct ThrowingCapture : Throwing<ScreenCapture> {
  using Throwing::Throwing;
  void getShareableContent(bool desktop, bool onScreen, ContentCompletion done) override {
    plan.at("getShareableContent"), real.getShareableContent(desktop, onScreen, std::move(done));
  }
  std::shared_ptr<SerialQueue> makeSampleQueue(std::string label, QualityOfService qos) override {
    return plan.at("makeSampleQueue"), real.makeSampleQueue(std::move(label), qos);
  }
  std::shared_ptr<CaptureStream> makeStream(const ContentFilter& filter, const StreamConfiguration& configuration,
                                            std::shared_ptr<StreamDelegate> delegate) override {
    return plan.at("makeStream"), real.makeStream(filter, configuration, std::move(delegate));
  }
};

struct ThrowingWindows : Throwing<WindowServices> {
  using Throwing::Throwing;
  std::unique_ptr<PlatformWindow> makeWindow(WindowFrame rect, WindowStyleMask style, BackingStoreType backing,
                                             bool defer) override {
    return plan.at("makeWindow"), real.makeWindow(rect, style, backing, defer);
  }
  WindowLevel windowLevelForKey(WindowLevelKey key) override { return plan.at("windowLevelForKey"), real.windowLevelForKey(key); }
  void runAnimationGroup(std::function<void(AnimationContext&)> changes, std::function<void()> done) override {
    plan.at("runAnimationGroup"), real.runAnimationGroup(std::move(changes), std::move(done));
  }
  bool accessibilityDisplayShouldReduceMotion() override {
    return plan.at("reduceMotion"), real.accessibilityDisplayShouldReduceMotion();
  }
};

struct ThrowingWorkspace : Throwing<WorkspaceNotifications> {
  using Throwing::Throwing;
  ObserverToken addObserver(WorkspaceNotification name, std::function<void()> block) override {
    return plan.at("addObserver"), real.addObserver(name, std::move(block));
  }
  void removeObserver(ObserverToken token) override { plan.at("removeObserver"), real.removeObserver(token); }
};

}  // namespace turnlet
