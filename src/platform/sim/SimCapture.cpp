#include "sim/SimCapture.h"

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

}  // namespace turnlet::sim
