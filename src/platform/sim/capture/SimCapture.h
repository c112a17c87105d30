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
#include "sim/world/DisplayServer.h"

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
// Completions come completionDelaySeconds after the call (plus a fault's delay): on the main loop,
// or, once runOnThreads() is called, on a thread of the service's own, as the real service calls
// them; the delegate then hears of a stop on another thread of its own, and frames arrive on the
// factory's queues. What a completion reports is decided on the loop (the world is the loop's);
// only the call is made on the thread. When the world can say what changed (changeCount), a
// frame of a display on which nothing changed since the last one is idle, without a picture, as
// the real service sends them. Each stream writes its pictures into a fixed pool of the
// configuration's queueDepth surfaces: a surface comes back only when every holder of its frame
// (the sample on its way, the renderer, the GPU) has let go, on whatever thread, and with none
// free the stream drops the frame, as the real service does. Every call can be made to fail,
// always or only on its n-th time; a start can be made never to complete. Main loop only.
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
  // Completions, the delegate's stop reports and (through sample queues from the factory) frames
  // come on threads of the factory's queues from now on. Before any stream is made.
  void runOnThreads(QueueFactory& factory);

  // What a call of one kind does instead of succeeding: fail with an error, complete late, or
  // (a start) never complete.
  struct Fault {
    std::optional<PlatformError> error;
    double extraDelaySeconds = 0;
    bool neverCompletes = false;
    int onlyCall = 0;  // 0: every call of its kind; n: only the n-th one (counted from 1)
  };
  // What a frame of a display shows at width × height pixels (null: no frame this time); the
  // world sets its compositor here.
  using PictureSource =
      std::function<std::shared_ptr<PixelBuffer>(DisplayID display, std::size_t width, std::size_t height)>;
  PictureSource pictureSource;
  // A number that stays the same while nothing a display shows changes (null: every frame is new);
  // the world sets the compositor's change count here.
  std::function<std::uint64_t(DisplayID display)> changeCount;
  // Called on the loop when a running stream has delivered idleFramesBeforeQuiet idle frames in a
  // row, and when a stream stops: what was kept to make frames quickly may go (the world gives back
  // the compositor's spare frames and the GPU views' spare drawables).
  std::function<void()> onQuiet;
  static constexpr int idleFramesBeforeQuiet = 30;

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
  std::uint64_t framesDelivered() const { return frames; }  // complete ones
  std::uint64_t framesDropped() const { return dropped; }     // for want of a free surface
  std::uint64_t idleFramesDelivered() const { return idleFrames; }

 private:
  class Stream;
  void after(double seconds, std::function<void()> fn);
  // Calls a completion where the service runs them (inline on the loop, or on its thread).
  void complete(std::function<void()> call);
  // The fault for this call of its kind: the fault when it applies to call number `count`.
  static Fault faultFor(const Fault& fault, int count);
  void countRunning();
  bool isCurrent(const std::shared_ptr<const CaptureDisplayHandle>& handle) const;

  MainLoop& loop;
  DisplayServer& displays;
  std::unique_ptr<SerialQueue> delegateQueue;
  std::unique_ptr<SerialQueue> completionQueue;  // null: completions run on the loop
  QueueFactory* sampleQueues = nullptr;
  std::map<DisplayID, int> fetchesSeen;
  std::vector<std::shared_ptr<const CaptureDisplayHandle>> currentHandles;  // of the latest fetch
  std::vector<std::weak_ptr<Stream>> streams;
  std::vector<StreamConfiguration> configured;
  int fetches = 0, starts = 0, stops = 0;
  int maxRunning = 0;
  std::uint64_t frames = 0, idleFrames = 0, dropped = 0;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

}  // namespace turnlet::sim
