#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "macos/display/DisplayValues.h"
#include "platform/CaptureStream.h"

namespace turnlet::macos {

// The values the capture service hands ScreenCaptureKit and reads back from it, in the platform's
// types, so that the Objective-C++ service only copies them across.

// A frame's status from the SCStreamFrameInfoStatus entry of the sample's first attachment
// dictionary: absent when there is no entry (no attachments, no dictionary, no status) or the
// entry reads as no whole number; a number the interface does not list is passed on.
std::optional<FrameStatus> frameStatus(const std::optional<PlatformNumber>& statusEntry);

// A CMTime: value / timescale seconds when flags has the valid bit (kCMTimeFlags_Valid, 1).
struct PlatformMediaTime final {
  std::int64_t value = 0;
  std::int32_t timescale = 0;
  std::uint32_t flags = 0;
  friend bool operator==(const PlatformMediaTime&, const PlatformMediaTime&) = default;
};
inline constexpr std::uint32_t mediaTimeValid = 1;

// The properties of an SCStreamConfiguration, in the order the session sets them.
struct StreamSettings final {
  std::uint64_t width = 0;   // pixels
  std::uint64_t height = 0;  // pixels
  std::uint32_t pixelFormat = 0;
  PlatformMediaTime minimumFrameInterval;
  std::int64_t queueDepth = 0;
  bool showsCursor = true;
  bool capturesAudio = false;
  CaptureColorSpace colorSpace = CaptureColorSpace::sRGB;  // colorSpaceName: kCGColorSpaceSRGB
  double background[4] = {0, 0, 0, 1};                     // sRGB red, green, blue, alpha, each 0 to 1
  std::string streamName;
};

// The smallest and largest queue depth the platform takes: it starts at three frames and must not
// be given more than eight.
inline constexpr std::int64_t minimumQueueDepth = 3;
inline constexpr std::int64_t maximumQueueDepth = 8;

// The configuration as the platform's values. A frame interval that is no positive time (a
// timescale of zero or less, a negative value) becomes zero seconds, the platform's "no minimum";
// the queue depth is kept within what the platform takes; colour components outside 0 to 1 are
// clamped and NaN reads 0.
StreamSettings streamSettings(const StreamConfiguration& configuration);

}  // namespace turnlet::macos
