#include "macos/capture/CaptureValues.h"

#include <algorithm>
#include <cmath>

namespace turnlet::macos {

std::optional<FrameStatus> frameStatus(const std::optional<PlatformNumber>& statusEntry) {
  const std::optional<std::int64_t> number = wholeNumber(statusEntry);
  if (!number) return std::nullopt;
  return static_cast<FrameStatus>(*number);
}

namespace {

PlatformMediaTime mediaTime(const MediaTime& time) {
  if (time.timescale <= 0 || time.value < 0) return {0, 1, mediaTimeValid};  // kCMTimeZero
  return {time.value, time.timescale, mediaTimeValid};
}

double component(double value) { return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0); }

}  // namespace

StreamSettings streamSettings(const StreamConfiguration& configuration) {
  StreamSettings settings;
  settings.width = configuration.width;
  settings.height = configuration.height;
  settings.pixelFormat = configuration.pixelFormat;
  settings.minimumFrameInterval = mediaTime(configuration.minimumFrameInterval);
  settings.queueDepth = std::clamp(configuration.queueDepth, minimumQueueDepth, maximumQueueDepth);
  settings.showsCursor = configuration.showsCursor;
  settings.capturesAudio = configuration.capturesAudio;
  settings.colorSpace = configuration.colorSpace;
  const Color& c = configuration.backgroundColor;
  settings.background[0] = component(c.red);
  settings.background[1] = component(c.green);
  settings.background[2] = component(c.blue);
  settings.background[3] = component(c.alpha);
  settings.streamName = configuration.streamName;
  return settings;
}

}  // namespace turnlet::macos
