#pragma once

#include <map>
#include <vector>

#include "platform/DisplayServices.h"

namespace turnlet::macos {

// The open display-configuration transactions, by the interface's handle. A handle is never 0
// and never reused, so a handle kept after its configuration was completed or cancelled is
// recognised as ended instead of reaching the platform (where using an ended configuration
// crashes): the service answers it with staleConfigurationError.
class ConfigurationHandles final {
 public:
  // CoreGraphics' kCGErrorIllegalArgument.
  static constexpr DisplayError staleConfigurationError = 1001;

  DisplayConfiguration add(void* config);
  // The open configuration; null when the handle is unknown or ended.
  void* find(DisplayConfiguration handle) const;
  // Ends the handle and hands its configuration back; null when unknown or ended.
  void* take(DisplayConfiguration handle);
  // Ends every handle (the service cancels them when it goes).
  std::vector<void*> takeAll();

 private:
  std::map<DisplayConfiguration, void*> open;
  DisplayConfiguration next = 1;
};

}  // namespace turnlet::macos
