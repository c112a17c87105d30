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

// The capture service's own object for one display of one fetch (an SCDisplay). Opaque to the
// logic: only the service that fetched it reads it, to build a stream's filter.
class CaptureDisplayHandle {
 public:
  virtual ~CaptureDisplayHandle() = default;
};

// One display the capture service can capture (SCDisplay): its number and size as the fetch
// reported them, and the fetch's object for it. A handle belongs to the fetch that returned it:
// it is never used after a later fetch, and a stream built from a stale or missing handle fails
// to start with a platform error.
struct CaptureDisplay {
  DisplayID displayID = 0;
  double width = 0;   // points
  double height = 0;  // points
  std::shared_ptr<const CaptureDisplayHandle> handle;
};

// What the capture service can capture now (SCShareableContent): the displays it lists.
struct ShareableContent {
  std::vector<CaptureDisplay> displays;
};

// What a stream captures (SCContentFilter initWithDisplay:excludingWindows:): one display, built
// from its handle, and no windows left out by this program.
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

// The colour space a stream delivers its frames in; a backend maps it to the platform's named
// space (kCGColorSpaceSRGB).
enum class CaptureColorSpace { sRGB };

// The configuration of a stream (SCStreamConfiguration), with the platform's values.
struct StreamConfiguration {
  std::uint64_t width = 0;   // pixels
  std::uint64_t height = 0;  // pixels
  std::uint32_t pixelFormat = pixelFormatBGRA;
  MediaTime minimumFrameInterval;
  std::int64_t queueDepth = 8;
  bool showsCursor = true;
  bool capturesAudio = false;
  CaptureColorSpace colorSpace = CaptureColorSpace::sRGB;
  Color backgroundColor;
  std::string streamName;
  friend bool operator==(const StreamConfiguration&, const StreamConfiguration&) = default;
};

// A stream's completion: an error, or none for success. Runs at most once, on any thread (a
// platform thread of the capture service); the platform may never call it, so a caller bounds
// the wait.
using CaptureCompletion = std::function<void(std::optional<PlatformError>)>;

// One capture stream (SCStream). Owned by whoever made it; dropping it releases the stream. The
// stream keeps the outputs, the delegate and the sample-handler queues it was given alive while
// it may call them. Main loop only; completions run on any thread.
class CaptureStream {
 public:
  virtual ~CaptureStream() = default;
  // addStreamOutput:type:sampleHandlerQueue:error: — the error, or none when added. The queue is
  // one the same service made (makeSampleQueue).
  virtual std::optional<PlatformError> addStreamOutput(std::shared_ptr<StreamOutput> output, StreamOutputType type,
                                                       std::shared_ptr<SerialQueue> sampleHandlerQueue) = 0;
  // removeStreamOutput:type:error: — the error, or none when removed.
  virtual std::optional<PlatformError> removeStreamOutput(const std::shared_ptr<StreamOutput>& output,
                                                          StreamOutputType type) = 0;
  // startCaptureWithCompletionHandler: — may complete late, or (as on the real system, rarely)
  // never; the caller bounds the wait. Fails when the filter's display handle is stale.
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
  // or an error, at most once, on any thread; it may never answer, so a caller bounds the wait.
  // Each fetch makes the display handles of earlier fetches stale.
  virtual void getShareableContent(bool excludingDesktopWindows, bool onScreenWindowsOnly,
                                   ContentCompletion completion) = 0;
  // A serial queue on which a stream may call its outputs (a dispatch queue with that label and
  // quality of service), made by the service so that a stream can use it as its own.
  virtual std::shared_ptr<SerialQueue> makeSampleQueue(std::string label, QualityOfService qos) = 0;
  // initWithFilter:configuration:delegate: — a new stream, owned by the caller, not started.
  virtual std::shared_ptr<CaptureStream> makeStream(const ContentFilter& filter,
                                                    const StreamConfiguration& configuration,
                                                    std::shared_ptr<StreamDelegate> delegate) = 0;
};

}  // namespace turnlet
