#pragma once

#include <memory>
#include <optional>

#include "platform/LibraryLoader.h"

namespace turnlet {

// Reads a display's brightness through the system's display-services framework, loaded at run
// time. Either the library or its function may be missing; then nothing can be read and nothing
// is reported. Destroying the reader closes the library. Main loop only.
class DisplayBrightnessReader {
 public:
  static constexpr const char* libraryPath = "/System/Library/PrivateFrameworks/DisplayServices.framework/DisplayServices";
  static constexpr const char* functionName = "DisplayServicesGetBrightness";
  static constexpr int openMode = libraryLoadLazy | libraryLoadLocal;  // 5

  explicit DisplayBrightnessReader(LibraryLoader& loader);

  // The brightness, 0 to 1, of the display; absent for display 0, without the function, on an
  // error, or for anything outside 0 to 1 (NaN and infinities included).
  std::optional<double> read(DisplayID display) const;

 private:
  std::unique_ptr<LoadedLibrary> library;
  std::optional<DisplayFloatFunction> getBrightness;
};

}  // namespace turnlet
