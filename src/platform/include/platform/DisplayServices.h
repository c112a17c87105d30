#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace turnlet {

using DisplayID = std::uint32_t;
// A platform result code: 0 is success, anything else an error number shown in messages.
using DisplayError = std::int32_t;

// One entry of the screen list: the display it shows, as its device description reports it, and
// its name and frame. The number may be missing or out of range for a display id.
struct ScreenInfo {
  std::optional<std::int64_t> screenNumber;
  std::string localizedName;
  Rect frame;  // bottom-left origin, y up, as the window system reports screens
};

struct PixelSize {
  std::uint64_t width = 0;
  std::uint64_t height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// An open display-configuration transaction.
using DisplayConfiguration = std::uint64_t;

// The system's display services, called on the main loop only. Queries about a display that is
// not online answer with zero values (empty bounds, vendor 0, false, no UUID, no mode).
class DisplayServices {
 public:
  virtual ~DisplayServices() = default;

  // With an empty buffer, reports in count how many displays are online; otherwise fills the
  // buffer with up to buffer.size() ids and reports how many it wrote.
  virtual DisplayError onlineDisplayList(std::span<DisplayID> buffer, std::uint32_t& count) = 0;

  virtual Rect bounds(DisplayID id) = 0;  // global points, top-left origin, y down
  virtual std::uint32_t vendorNumber(DisplayID id) = 0;
  virtual bool isBuiltin(DisplayID id) = 0;
  virtual bool isInMirrorSet(DisplayID id) = 0;
  virtual DisplayID mainDisplayID() = 0;
  virtual bool isOnline(DisplayID id) = 0;
  // The display's UUID as text, stable across reconnection; absent when the system has none.
  virtual std::optional<std::string> uuidString(DisplayID id) = 0;
  // Pixel size of the current display mode; absent when there is no mode.
  virtual std::optional<PixelSize> currentModePixelSize(DisplayID id) = 0;

  virtual std::vector<ScreenInfo> screens() = 0;

  // A transaction: all origins change together when it completes, or none when it is cancelled
  // or fails. begin may succeed without giving a configuration. Completing or cancelling ends
  // the configuration, whether or not the call succeeds: the handle must not be used again (on
  // the real system a later use crashes).
  virtual DisplayError beginConfiguration(std::optional<DisplayConfiguration>& config) = 0;
  virtual DisplayError configureOrigin(DisplayConfiguration config, DisplayID id, std::int32_t x, std::int32_t y) = 0;
  // option 0: the change lasts only while the program runs.
  virtual DisplayError completeConfiguration(DisplayConfiguration config, std::uint32_t option) = 0;
  virtual DisplayError cancelConfiguration(DisplayConfiguration config) = 0;

  // Called on the main loop after any display is added, removed, moved or resized.
  using ObserverToken = std::uint64_t;
  virtual ObserverToken addScreenParametersObserver(std::function<void()> block) = 0;
  virtual void removeScreenParametersObserver(ObserverToken token) = 0;
};

}  // namespace turnlet
