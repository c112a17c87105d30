#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/CaptureStream.h"
#include "platform/MainLoop.h"
#include "platform/SerialQueue.h"

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

}  // namespace turnlet::sim
