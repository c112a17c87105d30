#include "brightness/DisplayBrightnessReader.h"

#include <limits>

namespace turnlet {

DisplayBrightnessReader::DisplayBrightnessReader(LibraryLoader& loader) : library(loader.open(libraryPath, openMode)) {
  if (library) getBrightness = library->displayFloatFunction(functionName);
}

std::optional<double> DisplayBrightnessReader::read(DisplayID display) const {
  if (display == 0 || !getBrightness) return std::nullopt;
  float value = std::numeric_limits<float>::quiet_NaN();
  if ((*getBrightness)(display, &value) != 0) return std::nullopt;
  if (!(value >= 0 && value <= 1)) return std::nullopt;
  return value + 0.0;  // a negative zero reads as 0
}

}  // namespace turnlet
