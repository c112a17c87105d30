#include "display/DisplayLayout.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "display/AppFailure.h"

namespace turnlet {

namespace {

std::string sentence(const char* prefix, DisplayError code) { return prefix + std::to_string(code) + ")."; }

// Whole points, halves away from zero; absent when the result is not a 32-bit coordinate.
std::optional<std::int32_t> wholePoints(double value) {
  const double rounded = std::round(value);
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
    return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}

}  // namespace

void DisplayLayout::place(DisplayServices& services, const std::vector<std::pair<DisplayID, Point>>& origins) {
  std::optional<DisplayConfiguration> config;
  const DisplayError begun = services.beginConfiguration(config);
  if (begun != 0 || !config) {
    // A failed begin should give no configuration; if it did, it is not ours to keep open.
    if (config) services.cancelConfiguration(*config);
    throw AppFailure(sentence("macOS could not begin the display change (", begun));
  }

  for (const auto& [display, origin] : origins) {
    const std::optional<std::int32_t> x = wholePoints(origin.x);
    const std::optional<std::int32_t> y = wholePoints(origin.y);
    const DisplayError positioned = x && y ? services.configureOrigin(*config, display, *x, *y) : illegalArgumentError;
    if (positioned != 0) {
      services.cancelConfiguration(*config);
      throw AppFailure(sentence("macOS could not position the iPad display (", positioned));
    }
  }

  // Option 0: the system puts the user's layout back when the program quits. Completion ends the
  // configuration even when it fails, and a failed one changed nothing: there is nothing to cancel.
  const DisplayError completed = services.completeConfiguration(*config, 0);
  if (completed != 0) throw AppFailure(sentence("macOS rejected the display layout (", completed));
}

}  // namespace turnlet
