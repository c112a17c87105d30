#pragma once

#include <cstdint>
#include <memory>

#include "platform/CaptureStream.h"

namespace turnlet::macos {

// The capture service over ScreenCaptureKit: shareable content, sample queues (serial dispatch
// queues) and streams of one display built from the fetch's own SCDisplay. Each fetch makes the
// handles of earlier fetches stale: a stream built from one, or from a handle another service
// made, fails to start with an error of this service's domain, as does a filter that leaves out
// windows (this service excludes none). Main loop only; completions run on ScreenCaptureKit's
// threads, once.
class ScreenCaptureKitCapture final : public ScreenCapture {
 public:
  void getShareableContent(bool excludingDesktopWindows, bool onScreenWindowsOnly, ContentCompletion completion) override;
  std::shared_ptr<SerialQueue> makeSampleQueue(std::string label, QualityOfService qos) override;
  std::shared_ptr<CaptureStream> makeStream(const ContentFilter& filter, const StreamConfiguration& configuration,
                                            std::shared_ptr<StreamDelegate> delegate) override;

 private:
  std::uint64_t fetches = 0;
};

}  // namespace turnlet::macos
