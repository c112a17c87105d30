#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/Errors.h"
#include "platform/PixelBuffer.h"

namespace turnlet {

// What a screen-capture stream hands its outputs and its delegate.
//
// Threads: a stream calls its outputs on the sample-handler queue it was given, one sample at a
// time, and its delegate on a platform thread of its own. A sample is only valid during the call.

// The kind of samples an output receives; the renderer takes only the screen's.
enum class StreamOutputType : std::int64_t { screen = 0, audio = 1, microphone = 2 };

// The status a stream writes into each sample's frame information; only complete frames carry a
// new picture.
enum class FrameStatus : std::int64_t { complete = 0, idle = 1, blank = 2, suspended = 3, started = 4, stopped = 5 };

using AttachmentValue = std::variant<std::int64_t, double, bool, std::string>;
using SampleAttachments = std::map<std::string, AttachmentValue>;

// The key of the frame status in a sample's first attachment dictionary.
inline const std::string frameInfoStatusKey = "SCStreamFrameInfoStatus";

class SampleBuffer {
 public:
  virtual ~SampleBuffer() = default;
  virtual bool isValid() const = 0;
  // The sample's attachments array, one dictionary per sample; null when the sample has none.
  virtual const std::vector<SampleAttachments>* sampleAttachments() const = 0;
  // The captured picture; null for samples without one.
  virtual std::shared_ptr<PixelBuffer> imageBuffer() const = 0;
};

class StreamOutput {
 public:
  virtual ~StreamOutput() = default;
  virtual void didOutputSampleBuffer(const SampleBuffer& sample, StreamOutputType type) = 0;
};

class StreamDelegate {
 public:
  virtual ~StreamDelegate() = default;
  // The stream stopped on its own (it was not asked to).
  virtual void didStopWithError(const PlatformError& error) = 0;
};

// The sample's frame status as an integer, if its first attachment dictionary has one.
std::optional<std::int64_t> frameStatus(const SampleBuffer& sample);

}  // namespace turnlet
