#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DisplayServices.h"
#include "platform/Errors.h"
#include "platform/PixelBuffer.h"
#include "platform/PlatformWindow.h"
#include "platform/SerialQueue.h"

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

// ---- The capture service: what can be captured, and streams of it ----------------------------

// One display the capture service can capture (SCDisplay).
struct CaptureDisplay {
  DisplayID displayID = 0;
  double width = 0;   // points
  double height = 0;  // points
};

// What the capture service can capture now (SCShareableContent): the displays it lists.
struct ShareableContent {
  std::vector<CaptureDisplay> displays;
};

// What a stream captures (SCContentFilter initWithDisplay:excludingWindows:): one display, no
// windows left out by this program.
struct ContentFilter {
  CaptureDisplay display;
  std::vector<std::uint32_t> excludedWindowIDs;
};

// A frame interval as CMTime: value / timescale seconds.
struct MediaTime {
  std::int64_t value = 0;
  std::int32_t timescale = 0;
  friend bool operator==(const MediaTime&, const MediaTime&) = default;
};

// The four-character code of 32-bit BGRA pixels ('BGRA').
inline constexpr std::uint32_t pixelFormatBGRA = 0x42475241;

// The configuration of a stream (SCStreamConfiguration), with the platform's values.
struct StreamConfiguration {
  std::uint64_t width = 0;   // pixels
  std::uint64_t height = 0;  // pixels
  std::uint32_t pixelFormat = pixelFormatBGRA;
  MediaTime minimumFrameInterval;
  std::int64_t queueDepth = 8;
  bool showsCursor = true;
  bool capturesAudio = false;
  std::string colorSpaceName;
  Color backgroundColor;
  std::string streamName;
  friend bool operator==(const StreamConfiguration&, const StreamConfiguration&) = default;
};

// A stream's completion: an error, or none for success. Runs exactly once, on any thread.
using CaptureCompletion = std::function<void(std::optional<PlatformError>)>;

// One capture stream (SCStream). Owned by whoever made it; dropping it releases the stream. The
// stream keeps the outputs, the delegate and the sample-handler queues it was given alive while
// it may call them. Main loop only; completions run on any thread.
class CaptureStream {
 public:
  virtual ~CaptureStream() = default;
  // addStreamOutput:type:sampleHandlerQueue:error: — the error, or none when added.
  virtual std::optional<PlatformError> addStreamOutput(std::shared_ptr<StreamOutput> output, StreamOutputType type,
                                                       std::shared_ptr<SerialQueue> sampleHandlerQueue) = 0;
  // removeStreamOutput:type:error: — the error, or none when removed.
  virtual std::optional<PlatformError> removeStreamOutput(const std::shared_ptr<StreamOutput>& output,
                                                          StreamOutputType type) = 0;
  // startCaptureWithCompletionHandler: — may complete late, or (as on the real system, rarely)
  // never; the caller bounds the wait.
  virtual void startCapture(CaptureCompletion completion) = 0;
  // stopCaptureWithCompletionHandler:
  virtual void stopCapture(CaptureCompletion completion) = 0;
};

// The screen-capture service (ScreenCaptureKit). Main loop only; completions run on any thread.
class ScreenCapture {
 public:
  virtual ~ScreenCapture() = default;
  using ContentCompletion = std::function<void(std::optional<ShareableContent>, std::optional<PlatformError>)>;
  // getShareableContentExcludingDesktopWindows:onScreenWindowsOnly:completionHandler: — content,
  // or an error, exactly once.
  virtual void getShareableContent(bool excludingDesktopWindows, bool onScreenWindowsOnly,
                                   ContentCompletion completion) = 0;
  // initWithFilter:configuration:delegate: — a new stream, owned by the caller, not started.
  virtual std::shared_ptr<CaptureStream> makeStream(const ContentFilter& filter,
                                                    const StreamConfiguration& configuration,
                                                    std::shared_ptr<StreamDelegate> delegate) = 0;
};

}  // namespace turnlet
