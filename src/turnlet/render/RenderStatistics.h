#pragma once

#include <mutex>

#include "platform/MainLoop.h"

namespace turnlet {

// Counts, over a window of time, the frames the capture delivered, the images that reached the
// display, how many of those showed a new frame, and the GPU time per command buffer. Each
// snapshot() turns the window into rates and opens the next window.
//
// Thread-safe: the recorders are called from the capture queue and the GPU's threads, snapshot()
// from the main loop; every access is under `lock`, held for a few arithmetic steps, and no other
// lock is taken while it is held.
class RenderStatistics {
 public:
  struct Snapshot {
    double captureFPS = 0;       // per second
    double presentationFPS = 0;  // per second
    double updatedFPS = 0;       // per second
    double averageGPUms = 0;     // milliseconds
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
  };

  // The counts of the open window, as they stand.
  struct Counters {
    double captures = 0;
    double presentations = 0;
    double updatedPresentations = 0;
    double gpuMilliseconds = 0;
    double gpuSamples = 0;
  };

  // `clock` (system uptime) outlives the statistics; the first window starts now.
  explicit RenderStatistics(const MainLoop& clock);

  Snapshot snapshot();
  Counters counters() const;

  void recordCapture();
  void recordPresentation(bool showedNewFrame);
  // Ignored unless finite and not negative.
  void recordGpuTime(double milliseconds);

 private:
  const MainLoop& clock;
  mutable std::mutex lock;
  double windowStart;  // seconds of uptime
  Counters counts;
};

}  // namespace turnlet
