#include "sim/SimCapture.h"

namespace turnlet::sim {

SimSampleBuffer SimSampleBuffer::frame(std::shared_ptr<PixelBuffer> image, FrameStatus status) {
  SimSampleBuffer sample;
  sample.attachments = std::vector<SampleAttachments>{{{frameInfoStatusKey, static_cast<std::int64_t>(status)}}};
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
    o.queue->async([output = o.output, sample, type] {
      if (auto receiver = output.lock()) receiver->didOutputSampleBuffer(sample, type);
    });
  }
}

void SimCaptureStream::stopWithError(PlatformError error) {
  delegateQueue.async([receiver = delegate, error = std::move(error)] {
    if (auto d = receiver.lock()) d->didStopWithError(error);
  });
}

}  // namespace turnlet::sim
