#include "platform/CaptureStream.h"

#include <cmath>

namespace turnlet {

std::optional<std::int64_t> frameStatus(const SampleBuffer& sample) {
  const auto* attachments = sample.sampleAttachments();
  if (!attachments || attachments->empty()) return std::nullopt;
  const auto& first = attachments->front();
  auto entry = first.find(frameInfoStatusKey);
  if (entry == first.end()) return std::nullopt;
  if (const auto* integer = std::get_if<std::int64_t>(&entry->second)) return *integer;
  // A number stored as a double reads as an integer only when it is one.
  if (const auto* real = std::get_if<double>(&entry->second)) {
    if (std::isfinite(*real) && std::trunc(*real) == *real && std::fabs(*real) < 9.0e18)
      return static_cast<std::int64_t>(*real);
  }
  return std::nullopt;
}

}  // namespace turnlet
