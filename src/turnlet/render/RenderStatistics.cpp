#include "render/RenderStatistics.h"

#include <cmath>
#include <limits>

namespace turnlet {

RenderStatistics::RenderStatistics(const MainLoop& clock) : clock(clock), windowStart(clock.now()) {}

RenderStatistics::Snapshot RenderStatistics::snapshot() {
  std::lock_guard guard(lock);
  const double now = clock.now();
  Snapshot result;
  result.averageGPUms = counts.gpuSamples > 0 ? counts.gpuMilliseconds / counts.gpuSamples : 0;
  double elapsed = now - windowStart;
  // Also catches NaN: a window of no length divides by the smallest positive double.
  if (!(elapsed > std::numeric_limits<double>::denorm_min())) elapsed = std::numeric_limits<double>::denorm_min();
  result.captureFPS = counts.captures / elapsed;
  result.presentationFPS = counts.presentations / elapsed;
  result.updatedFPS = counts.updatedPresentations / elapsed;
  windowStart = now;
  counts = Counters{};
  return result;
}

RenderStatistics::Counters RenderStatistics::counters() const {
  std::lock_guard guard(lock);
  return counts;
}

void RenderStatistics::recordCapture() {
  std::lock_guard guard(lock);
  counts.captures += 1;
}

void RenderStatistics::recordPresentation(bool showedNewFrame) {
  std::lock_guard guard(lock);
  counts.presentations += 1;
  if (showedNewFrame) counts.updatedPresentations += 1;
}

void RenderStatistics::recordGpuTime(double milliseconds) {
  if (!std::isfinite(milliseconds) || milliseconds < 0) return;
  std::lock_guard guard(lock);
  counts.gpuMilliseconds += milliseconds;
  counts.gpuSamples += 1;
}

}  // namespace turnlet
