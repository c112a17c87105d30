#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/Errors.h"
#include "platform/PixelBuffer.h"

namespace turnlet {

// What a screen-capture stream hands its outputs and its delegate.
//
// Threads: a stream calls its outputs on the sample-handler queue it was given, one sample at a
// time, and its delegate on a platform thread of its own. A sample is only valid during the call.
// The stream may keep its outputs and delegate alive while it calls them, so an object handed to
// a stream must be one that may end on any thread.

// The kind of samples an output receives; the renderer takes only the screen's.
enum class StreamOutputType : std::int64_t { screen = 0, audio = 1, microphone = 2 };

// The status a stream gives each frame, with the platform's numbers (a backend may pass on a
// number not listed here); only complete frames carry a new picture.
enum class FrameStatus : std::int64_t { complete = 0, idle = 1, blank = 2, suspended = 3, started = 4, stopped = 5 };

class SampleBuffer {
 public:
  virtual ~SampleBuffer() = default;
  virtual bool isValid() const = 0;
  // The frame status from the sample's first attachment dictionary; absent when the sample has no
  // attachments, or no status there that reads as a whole number.
  virtual std::optional<FrameStatus> frameStatus() const = 0;
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

}  // namespace turnlet
