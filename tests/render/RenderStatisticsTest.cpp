#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "render/RenderStatistics.h"
#include "sim/system/ManualLoop.h"

using namespace turnlet;

TEST(RenderStatistics, RatesCoverTheTimeSinceTheLastReading) {
  sim::ManualLoop loop;
  loop.advance(5);  // the first window starts at creation, not at zero
  RenderStatistics statistics(loop);
  EXPECT_EQ(statistics.snapshot(), RenderStatistics::Snapshot{}) << "nothing recorded, no time passed";
  for (int i = 0; i < 60; ++i) statistics.recordCapture();
  for (int i = 0; i < 30; ++i) statistics.recordPresentation(i % 3 == 0);
  for (double ms : {4.0, 6.0, 0.0, std::nan(""), std::numeric_limits<double>::infinity(), -1.0})
    statistics.recordGpuTime(ms);  // only finite, non-negative times count
  loop.advance(2.0);
  EXPECT_EQ(statistics.snapshot(), (RenderStatistics::Snapshot{30, 15, 5, 10.0 / 3}));
  loop.advance(1.0);
  EXPECT_EQ(statistics.snapshot(), RenderStatistics::Snapshot{}) << "the next window starts from zero; no GPU samples: 0 ms";
}

TEST(RenderStatistics, ConcurrentWritersLoseNothingAcrossWindows) {
  sim::ManualLoop loop;
  RenderStatistics statistics(loop);
  constexpr int perThread = 20000;
  std::vector<std::thread> writers;
  for (int kind = 0; kind < 3; ++kind) {
    writers.emplace_back([&, kind] {
      for (int i = 0; i < perThread; ++i)
        kind == 0 ? statistics.recordCapture() : kind == 1 ? statistics.recordPresentation(i % 2 == 0) : statistics.recordGpuTime(1);
    });
  }
  // Windows of exactly one second each, so each rate is that window's count.
  RenderStatistics::Snapshot sum;
  for (int window = 0; window < 51; ++window) {
    if (window == 50)
      for (auto& writer : writers) writer.join();
    loop.advance(1);
    const auto reading = statistics.snapshot();
    sum = {sum.captureFPS + reading.captureFPS, sum.presentationFPS + reading.presentationFPS,
           sum.updatedFPS + reading.updatedFPS, 0};
  }
  EXPECT_EQ(sum, (RenderStatistics::Snapshot{perThread, perThread, perThread / 2, 0}));
}
