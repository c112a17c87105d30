#include "sim/capture/SimCapture.h"

#include <algorithm>
#include <atomic>
#include <cassert>

#include "sim/system/LoopSerialQueue.h"
#include "sim/capture/MemoryPixelBuffer.h"

namespace turnlet::sim {

SimSampleBuffer SimSampleBuffer::frame(std::shared_ptr<PixelBuffer> image, FrameStatus status) {
  SimSampleBuffer sample;
  sample.status = status;
  sample.image = std::move(image);
  return sample;
}

void SimCaptureStream::addOutput(std::weak_ptr<StreamOutput> output, StreamOutputType type, SerialQueue& queue) {
  std::lock_guard lock(mutex);
  outputs.push_back({std::move(output), type, &queue});
}

void SimCaptureStream::removeOutputs() {
  std::lock_guard lock(mutex);
  outputs.clear();
}

void SimCaptureStream::deliver(const SimSampleBuffer& sample, StreamOutputType type) {
  std::lock_guard lock(mutex);
  for (const auto& o : outputs) {
    if (o.type != type) continue;
    o.queue->async([&loop = loop, output = o.output, sample, type] {
      auto receiver = output.lock();
      if (!receiver) return;
      receiver->didOutputSampleBuffer(sample, type);
      loop.post([held = std::move(receiver)] {});
    });
  }
}

void SimCaptureStream::stopWithError(PlatformError error) {
  delegateQueue.async([&loop = loop, receiver = delegate, error = std::move(error)] {
    auto d = receiver.lock();
    if (!d) return;
    d->didStopWithError(error);
    loop.post([held = std::move(d)] {});
  });
}

namespace {
constexpr double kFrameSeconds = 1.0 / 60;
constexpr const char* kDomain = "com.apple.ScreenCaptureKit.SCStreamErrorDomain";
}  // namespace

class SimScreenCapture::Stream : public CaptureStream, public std::enable_shared_from_this<Stream> {
 public:
  Stream(SimScreenCapture& service, ContentFilter filter, std::shared_ptr<StreamDelegate> delegate)
      : service(service), filter(std::move(filter)), delegate(std::move(delegate)),
        core(service.loop, this->delegate, *service.delegateQueue) {}
  ~Stream() override { running = false; }

  std::optional<PlatformError> addStreamOutput(std::shared_ptr<StreamOutput> output, StreamOutputType type,
                                               std::shared_ptr<SerialQueue> queue) override {
    if (service.addOutputError) return service.addOutputError;
    core.addOutput(output, type, *queue);
    outputs.push_back({std::move(output), type, std::move(queue)});
    return std::nullopt;
  }

  std::optional<PlatformError> removeStreamOutput(const std::shared_ptr<StreamOutput>& output,
                                                  StreamOutputType type) override {
    if (service.removeOutputError) return service.removeOutputError;
    auto it = std::find_if(outputs.begin(), outputs.end(), [&](const Out& o) { return o.output == output && o.type == type; });
    if (it == outputs.end()) return PlatformError(kDomain, -3805, "The stream output was not found.");
    outputs.erase(it);
    // The delivery core holds outputs weakly; rebuild its list from what is left.
    core.removeOutputs();
    for (const Out& o : outputs) core.addOutput(o.output, o.type, *o.queue);
    return std::nullopt;
  }

  void startCapture(CaptureCompletion completion) override {
    const Fault fault = faultFor(service.startFault, ++service.starts);
    if (fault.neverCompletes) {
      parked.push_back(std::move(completion));  // kept, never called: the start hangs
      return;
    }
    const bool stale = !service.isCurrent(filter.display.handle);
    service.after(service.completionDelaySeconds + fault.extraDelaySeconds,
                  [weak = weak_from_this(), &service = service, fault, stale, completion = std::move(completion)] {
                    const auto outcome = [&]() -> std::optional<PlatformError> {
                      auto self = weak.lock();
                      if (!self) return PlatformError(kDomain, -3808, "The stream was released.");
                      if (fault.error) return fault.error;
                      if (stale) return PlatformError(kDomain, -3812, "The display is not from the latest shareable content.");
                      if (self->running) return PlatformError(kDomain, -3808, "The stream is already running.");
                      if (!service.displays.find(self->filter.display.displayID))
                        return PlatformError(kDomain, -3815, "The display to capture is not available.");
                      self->running = true;
                      service.countRunning();
                      self->nextFrameAt = service.loop.now();
                      self->lastChanges.reset();  // a new run starts with a whole picture
                      self->tick(++self->run);
                      return std::nullopt;
                    }();
                    service.complete([completion, outcome] { completion(outcome); });
                  });
  }

  void stopCapture(CaptureCompletion completion) override {
    const Fault fault = faultFor(service.stopFault, ++service.stops);
    if (fault.neverCompletes) return parked.push_back(std::move(completion));
    service.after(service.completionDelaySeconds + fault.extraDelaySeconds,
                  [weak = weak_from_this(), &service = service, fault, completion = std::move(completion)] {
                    const auto outcome = [&]() -> std::optional<PlatformError> {
                      auto self = weak.lock();
                      if (!self) return PlatformError(kDomain, -3808, "The stream was released.");
                      if (fault.error) return fault.error;
                      if (!self->running) return PlatformError(kDomain, -3808, "The stream is not running.");
                      self->running = false;
                      if (service.onQuiet) service.onQuiet();
                      return std::nullopt;
                    }();
                    service.complete([completion, outcome] { completion(outcome); });
                  });
  }

  bool isRunning() const { return running; }

 private:
  struct Out {
    std::shared_ptr<StreamOutput> output;
    StreamOutputType type;
    std::shared_ptr<SerialQueue> queue;
  };

  // The picture of the next complete frame: the source's, or a numbered one; null for none.
  std::shared_ptr<PixelBuffer> picture() {
    ++frameNumber;
    if (service.pictureSource)
      return service.pictureSource(filter.display.displayID, configuration.width, configuration.height);
    const std::uint64_t limit = std::max<std::uint64_t>(service.maxFrameSide, 1);
    auto numbered = MemoryPixelBuffer::make(std::clamp<std::uint64_t>(configuration.width, 1, limit),
                                            std::clamp<std::uint64_t>(configuration.height, 1, limit));
    numbered->setPixel(0, 0, static_cast<std::uint32_t>(frameNumber) | 0xFF000000u);
    return numbered;
  }

  // One frame of run `ofRun`, then the next one a frame later.
  void tick(std::uint64_t ofRun) {
    if (!running || ofRun != run) return;
    const SimDisplay* display = service.displays.find(filter.display.displayID);
    if (!display) {
      running = false;
      core.stopWithError(PlatformError(kDomain, -3815, "The display being captured is no longer available."));
      return;
    }
    if (service.deliversFrames) {
      // Nothing changed on the display since the last frame: an idle frame, without a picture.
      const auto changes = service.changeCount ? std::optional(service.changeCount(display->id)) : std::nullopt;
      if (changes && changes == lastChanges) {
        core.deliver(SimSampleBuffer::frame(nullptr, FrameStatus::idle));
        ++service.idleFrames;
        if (++idleInARow == SimScreenCapture::idleFramesBeforeQuiet && service.onQuiet) service.onQuiet();
      } else if (idleInARow = 0; *surfacesInUse >= std::max<std::int64_t>(configuration.queueDepth, 1)) {
        ++service.dropped;  // every surface is still held; the next frame tries again
      } else if (auto frame = picture()) {
        // The frame occupies a surface of the pool until its last holder lets it go.
        ++*surfacesInUse;
        auto surface = std::shared_ptr<PixelBuffer>(frame.get(), [frame, inUse = surfacesInUse](PixelBuffer*) mutable {
          frame.reset();
          --*inUse;
        });
        core.deliver(SimSampleBuffer::frame(std::move(surface)));
        ++service.frames;
        lastChanges = changes;
      }
    }
    // Frames fall on a fixed cadence, not a frame after the last one ended: a real loop's timers
    // fire late, and the lateness must not add up. A cadence that fell a whole frame behind starts
    // again from now instead of catching up in a burst.
    const double now = service.loop.now();
    nextFrameAt += kFrameSeconds;
    if (nextFrameAt < now) nextFrameAt = now;
    service.loop.schedule(nextFrameAt - now, [weak = weak_from_this(), ofRun] {
      if (auto self = weak.lock()) self->tick(ofRun);
    });
  }

 public:
  SimScreenCapture& service;
  ContentFilter filter;
  StreamConfiguration configuration;

 private:
  std::shared_ptr<StreamDelegate> delegate;
  SimCaptureStream core;
  std::vector<Out> outputs;
  std::vector<CaptureCompletion> parked;
  bool running = false;
  std::uint64_t run = 0;
  std::uint64_t frameNumber = 0;
  int idleInARow = 0;
  std::optional<std::uint64_t> lastChanges;  // the display's change count at the last complete frame
  std::shared_ptr<std::atomic<std::int64_t>> surfacesInUse = std::make_shared<std::atomic<std::int64_t>>(0);
  double nextFrameAt = 0;
};

SimScreenCapture::SimScreenCapture(MainLoop& loop, DisplayServer& displays)
    : loop(loop), displays(displays), delegateQueue(std::make_unique<LoopSerialQueue>("sim.capture.delegate", loop)) {}

SimScreenCapture::~SimScreenCapture() = default;

void SimScreenCapture::after(double seconds, std::function<void()> fn) {
  loop.schedule(seconds, [weak = std::weak_ptr<bool>(alive), fn = std::move(fn)] {
    if (!weak.expired()) fn();
  });
}

void SimScreenCapture::runOnThreads(QueueFactory& factory) {
  assert(streams.empty());  // a stream keeps the delegate queue it was made with
  sampleQueues = &factory;
  delegateQueue = factory.makeSerialQueue("sim.capture.delegate", QualityOfService::userInitiated);
  completionQueue = factory.makeSerialQueue("sim.capture.completions", QualityOfService::userInitiated);
}

void SimScreenCapture::complete(std::function<void()> call) {
  if (completionQueue) return completionQueue->async(std::move(call));
  call();
}

SimScreenCapture::Fault SimScreenCapture::faultFor(const Fault& fault, int count) {
  return fault.onlyCall == 0 || fault.onlyCall == count ? fault : Fault{};
}

void SimScreenCapture::getShareableContent(bool, bool, ContentCompletion completion) {
  const Fault fault = faultFor(fetchFault, ++fetches);
  if (fault.neverCompletes) return;  // dropped unanswered
  ShareableContent content;
  std::map<DisplayID, int> seen;
  currentHandles.clear();  // every earlier handle is stale now
  for (const SimDisplay& d : displays.displays()) {
    const int count = fetchesSeen.contains(d.id) ? fetchesSeen[d.id] + 1 : 1;
    seen[d.id] = count;
    if (count > fetchesBeforeListed) {
      auto handle = std::make_shared<const CaptureDisplayHandle>();
      currentHandles.push_back(handle);
      content.displays.push_back({d.id, d.bounds.width(), d.bounds.height(), std::move(handle)});
    }
  }
  fetchesSeen = std::move(seen);
  after(completionDelaySeconds + fault.extraDelaySeconds,
        [this, fault, content = std::move(content), completion = std::move(completion)] {
          if (fault.error) return complete([completion, error = *fault.error] { completion(std::nullopt, error); });
          complete([completion, content] { completion(content, std::nullopt); });
        });
}

std::shared_ptr<CaptureStream> SimScreenCapture::makeStream(const ContentFilter& filter,
                                                            const StreamConfiguration& configuration,
                                                            std::shared_ptr<StreamDelegate> delegate) {
  auto stream = std::make_shared<Stream>(*this, filter, std::move(delegate));
  stream->configuration = configuration;
  configured.push_back(configuration);
  std::erase_if(streams, [](const std::weak_ptr<Stream>& s) { return s.expired(); });
  streams.push_back(stream);
  return stream;
}

std::shared_ptr<SerialQueue> SimScreenCapture::makeSampleQueue(std::string label, QualityOfService qos) {
  if (sampleQueues) return sampleQueues->makeSerialQueue(std::move(label), qos);
  return std::make_shared<LoopSerialQueue>(std::move(label), loop);
}

bool SimScreenCapture::isCurrent(const std::shared_ptr<const CaptureDisplayHandle>& handle) const {
  return handle && std::find(currentHandles.begin(), currentHandles.end(), handle) != currentHandles.end();
}

int SimScreenCapture::liveStreams() const {
  return static_cast<int>(std::count_if(streams.begin(), streams.end(), [](const auto& s) { return !s.expired(); }));
}

int SimScreenCapture::runningStreams() const {
  int n = 0;
  for (const auto& weak : streams)
    if (auto s = weak.lock(); s && s->isRunning()) ++n;
  return n;
}

void SimScreenCapture::countRunning() { maxRunning = std::max(maxRunning, runningStreams()); }

}  // namespace turnlet::sim
