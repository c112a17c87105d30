#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/LibraryLoader.h"
#include "sim/world/DisplayServer.h"

namespace turnlet::sim {

// The libraries of the simulated Mac: only the display-services framework, whose brightness
// function answers from the brightness a test gives each display. A built-in display reads 1
// until given another value; any other display, or one that is not online, answers with an
// error. Values are handed over as the function's 32-bit float, so NaN stays NaN and values
// beyond the float's range become infinities. Main loop only.
class SimLibraryLoader : public LibraryLoader {
  // Shared with the libraries and functions handed out, which may outlive the loader.
  struct State {
    DisplayServer& displays;
    std::map<DisplayID, double> brightness;
    bool symbolMissing = false;
    std::optional<std::int32_t> fail;
  };
  std::shared_ptr<State> state;

 public:
  static constexpr const char* displayServicesPath =
      "/System/Library/PrivateFrameworks/DisplayServices.framework/DisplayServices";
  static constexpr const char* brightnessSymbol = "DisplayServicesGetBrightness";
  static constexpr std::int32_t errorIllegalArgument = 1001;
  // CoreGraphics, whose only looked-up function is the event window-location setter (which
  // SimInputEvents makes once the library has the symbol).
  static constexpr const char* coreGraphicsPath = "/System/Library/Frameworks/CoreGraphics.framework/CoreGraphics";
  static constexpr const char* windowLocationSymbol = "CGEventSetWindowLocation";

  explicit SimLibraryLoader(DisplayServer& displays);
  SimLibraryLoader(const SimLibraryLoader&) = delete;
  SimLibraryLoader& operator=(const SimLibraryLoader&) = delete;

  std::unique_ptr<LoadedLibrary> open(const std::string& path, int mode) override;

  // Controls and faults.
  void setBrightness(DisplayID display, double value) { state->brightness[display] = value; }
  // The brightness a display was given; nothing when it has none (a built-in display is then at 1).
  std::optional<double> brightness(DisplayID display) const {
    const auto it = state->brightness.find(display);
    return it == state->brightness.end() ? std::nullopt : std::optional(it->second);
  }
  bool libraryMissing = false;
  bool coreGraphicsMissing = false;
  bool windowLocationMissing = false;
  bool& symbolMissing;
  std::optional<std::int32_t>& failBrightness;  // the function returns this code

  // Observations.
  int openLibraries() const { return *openCount; }
  const std::vector<int>& openModes() const { return modes; }

 private:
  std::shared_ptr<int> openCount = std::make_shared<int>(0);
  std::vector<int> modes;
};

}  // namespace turnlet::sim
