#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/CaptureStream.h"
#include "platform/MainLoop.h"
#include "platform/SerialQueue.h"
#include "sim/DisplayServer.h"

namespace turnlet::sim {

// A sample as the simulated capture service emits it; every part can be made faulty.
class SimSampleBuffer : public SampleBuffer {
 public:
  // A valid sample with that status and picture.
  static SimSampleBuffer frame(std::shared_ptr<PixelBuffer> image, FrameStatus status = FrameStatus::complete);

  bool isValid() const override { return valid; }
  std::optional<FrameStatus> frameStatus() const override { return status; }
  std::shared_ptr<PixelBuffer> imageBuffer() const override { return image; }

  bool valid = true;
  std::optional<FrameStatus> status;  // absent: no attachments, or no readable status in them
  std::shared_ptr<PixelBuffer> image;
};

// A capture stream of the simulated Mac: hands samples to its outputs on their sample-handler
// queues, and reports stopping on its own to its delegate on the delegate queue. Outputs and the
// delegate are held weakly; the reference locked for one call is released on the main loop, so
// the stream never ends an output or a delegate on its own threads. Thread-safe.
class SimCaptureStream {
 public:
  SimCaptureStream(MainLoop& loop, std::weak_ptr<StreamDelegate> delegate, SerialQueue& delegateQueue)
      : loop(loop), delegate(std::move(delegate)), delegateQueue(delegateQueue) {}

  void addOutput(std::weak_ptr<StreamOutput> output, StreamOutputType type, SerialQueue& queue);
  void removeOutputs();

  // Emits a sample to every output of its type, in order.
  void deliver(const SimSampleBuffer& sample, StreamOutputType type = StreamOutputType::screen);
  // The stream stops by itself with this error.
  void stopWithError(PlatformError error);

 private:
  struct Output {
    std::weak_ptr<StreamOutput> output;
    StreamOutputType type;
    SerialQueue* queue;
  };
  MainLoop& loop;
  std::weak_ptr<StreamDelegate> delegate;
  SerialQueue& delegateQueue;
  std::mutex mutex;
  std::vector<Output> outputs;
};

// The simulated screen-capture service. Shareable content lists the online displays, a display
// that came online only after it has been left out of fetchesBeforeListed fetches; each fetch
// makes new display handles, and a stream whose filter holds a handle of an earlier fetch (or
// none) fails to start with a platform error. Sample queues run on the main loop unless
// setSampleQueues gives them a factory. A started stream delivers BGRA frames of its display at
// 60 per second of the loop's time to its outputs on their queues — the picture source's pictures
// at the configured size, or without a source numbered frames (black, the frame number in the
// first pixel) — and stops on its own, telling its delegate, when its display goes offline.
// Completions run on the main loop completionDelaySeconds after the call (plus a fault's delay).
// Every call can be made to fail; a start can be made never to complete. Main loop only.
class SimScreenCapture : public ScreenCapture {
 public:
  SimScreenCapture(MainLoop& loop, DisplayServer& displays);
  ~SimScreenCapture() override;

  void getShareableContent(bool excludingDesktopWindows, bool onScreenWindowsOnly,
                           ContentCompletion completion) override;
  std::shared_ptr<CaptureStream> makeStream(const ContentFilter& filter, const StreamConfiguration& configuration,
                                            std::shared_ptr<StreamDelegate> delegate) override;
  std::shared_ptr<SerialQueue> makeSampleQueue(std::string label, QualityOfService qos) override;

  // Where sample queues come from (the factory outlives the service).
  void setSampleQueues(QueueFactory& factory) { sampleQueues = &factory; }

  // What a call of one kind does instead of succeeding: fail with an error, complete late, or
  // (a start) never complete.
  struct Fault {
    std::optional<PlatformError> error;
    double extraDelaySeconds = 0;
    bool neverCompletes = false;
  };
  // What a frame of a display shows at width × height pixels (null: no frame this time); the
  // world sets its compositor here.
  using PictureSource =
      std::function<std::shared_ptr<PixelBuffer>(DisplayID display, std::size_t width, std::size_t height)>;
  PictureSource pictureSource;

  // Behaviour and faults.
  int fetchesBeforeListed = 1;
  bool deliversFrames = true;       // false: a started stream stays silent
  std::uint64_t maxFrameSide = 64;  // numbered frames larger than this are delivered at this size, to cost nothing
  double completionDelaySeconds = 0.01;
  Fault fetchFault, startFault, stopFault;
  std::optional<PlatformError> addOutputError, removeOutputError;
  // Back to a healthy service: no faults, displays listed after one fetch, frames delivered.
  void clearFaults() {
    fetchFault = startFault = stopFault = {};
    addOutputError.reset();
    removeOutputError.reset();
    fetchesBeforeListed = 1;
    deliversFrames = true;
  }

  // Observations.
  int fetchCount() const { return fetches; }
  int liveStreams() const;
  int runningStreams() const;
  int maxRunningStreams() const { return maxRunning; }  // at any moment so far
  void resetMaxRunningStreams() { maxRunning = runningStreams(); }
  const std::vector<StreamConfiguration>& configurations() const { return configured; }
  std::uint64_t framesDelivered() const { return frames; }

 private:
  class Stream;
  void after(double seconds, std::function<void()> fn);
  void countRunning();
  bool isCurrent(const std::shared_ptr<const CaptureDisplayHandle>& handle) const;

  MainLoop& loop;
  DisplayServer& displays;
  std::unique_ptr<SerialQueue> delegateQueue;
  QueueFactory* sampleQueues = nullptr;
  std::map<DisplayID, int> fetchesSeen;
  std::vector<std::shared_ptr<const CaptureDisplayHandle>> currentHandles;  // of the latest fetch
  std::vector<std::weak_ptr<Stream>> streams;
  std::vector<StreamConfiguration> configured;
  int fetches = 0;
  int maxRunning = 0;
  std::uint64_t frames = 0;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

}  // namespace turnlet::sim
