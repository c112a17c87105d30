#pragma once

#include "macos/display/ConfigurationHandles.h"
#include "macos/system/NotificationObservers.h"
#include "platform/DisplayServices.h"

namespace turnlet::macos {

// The display services over CoreGraphics (the display list and each display's facts, modes,
// UUIDs through ColorSync, configuration transactions) and AppKit (screens, the
// screen-parameters notification). Platform result codes are passed on unchanged; a handle of a
// configuration that was already completed or cancelled answers kCGErrorIllegalArgument without
// reaching the platform, and configurations still open when the service goes are cancelled.
// Main thread only.
class CoreGraphicsDisplayServices final : public DisplayServices {
 public:
  CoreGraphicsDisplayServices();
  ~CoreGraphicsDisplayServices() override;
  CoreGraphicsDisplayServices(const CoreGraphicsDisplayServices&) = delete;
  CoreGraphicsDisplayServices& operator=(const CoreGraphicsDisplayServices&) = delete;

  DisplayError onlineDisplayList(std::span<DisplayID> buffer, std::uint32_t& count) override;
  Rect bounds(DisplayID id) override;
  std::uint32_t vendorNumber(DisplayID id) override;
  bool isBuiltin(DisplayID id) override;
  bool isInMirrorSet(DisplayID id) override;
  DisplayID mainDisplayID() override;
  bool isOnline(DisplayID id) override;
  std::optional<std::string> uuidString(DisplayID id) override;
  std::optional<PixelSize> currentModePixelSize(DisplayID id) override;
  std::vector<ScreenInfo> screens() override;

  DisplayError beginConfiguration(std::optional<DisplayConfiguration>& config) override;
  DisplayError configureOrigin(DisplayConfiguration config, DisplayID id, std::int32_t x, std::int32_t y) override;
  DisplayError completeConfiguration(DisplayConfiguration config, std::uint32_t option) override;
  DisplayError cancelConfiguration(DisplayConfiguration config) override;

  ObserverToken addScreenParametersObserver(std::function<void()> block) override;
  void removeScreenParametersObserver(ObserverToken token) override;

 private:
  ConfigurationHandles configurations;
  NotificationObservers observers;
};

}  // namespace turnlet::macos
