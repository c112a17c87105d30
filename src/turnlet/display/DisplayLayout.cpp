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

// Cancels a configuration that was begun and not completed, however place() leaves: by a failure
// it reports or by whatever a call throws. A configuration is never left open.
class CancelUnlessCompleted {
 public:
  CancelUnlessCompleted(DisplayServices& services, std::optional<DisplayConfiguration>& config)
      : services(services), config(config) {}
  CancelUnlessCompleted(const CancelUnlessCompleted&) = delete;
  CancelUnlessCompleted& operator=(const CancelUnlessCompleted&) = delete;
  ~CancelUnlessCompleted() {
    if (!config) return;
    // A configuration left open refuses every later change, so a cancel that throws is tried once
    // more; the failure that brought us here is still the one to report.
    for (int tries = 0; tries < 2; ++tries) {
      try {
        services.cancelConfiguration(*config);
        return;
      } catch (...) {
      }
    }
  }

 private:
  DisplayServices& services;
  std::optional<DisplayConfiguration>& config;
};

}  // namespace

void DisplayLayout::place(DisplayServices& services, const std::vector<std::pair<DisplayID, Point>>& origins) {
  std::optional<DisplayConfiguration> config;
  // A failed begin should give no configuration; if it did, it is not ours to keep open either.
  const CancelUnlessCompleted guard(services, config);
  const DisplayError begun = services.beginConfiguration(config);
  if (begun != 0 || !config) throw AppFailure(sentence("macOS could not begin the display change (", begun));

  for (const auto& [display, origin] : origins) {
    const std::optional<std::int32_t> x = wholePoints(origin.x);
    const std::optional<std::int32_t> y = wholePoints(origin.y);
    const DisplayError positioned = x && y ? services.configureOrigin(*config, display, *x, *y) : illegalArgumentError;
    if (positioned != 0) throw AppFailure(sentence("macOS could not position the iPad display (", positioned));
  }

  // Option 0: the system puts the user's layout back when the program quits. Completion ends the
  // configuration even when it fails, and a failed one changed nothing: there is nothing to cancel.
  // A completion that throws never ran, and its configuration is cancelled.
  const DisplayError completed = services.completeConfiguration(*config, 0);
  config.reset();
  if (completed != 0) throw AppFailure(sentence("macOS rejected the display layout (", completed));
}

}  // namespace turnlet
