#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "render/RenderStatistics.h"
#include "sim/ManualLoop.h"

using namespace turnlet;

TEST(RenderStatistics, RatesCoverTheTimeSinceTheLastReading) {
  sim::ManualLoop loop;
  loop.advance(5);  // the first window starts at creation, not at zero
  RenderStatistics statistics(loop);
  EXPECT_EQ(statistics.snapshot(), RenderStatistics::Snapshot{}) << "nothing recorded, no time passed";
  EXPECT_EQ(statistics.snapshot(), RenderStatistics::Snapshot{});

  for (int i = 0; i < 60; ++i) statistics.recordCapture();
  for (int i = 0; i < 30; ++i) statistics.recordPresentation(i % 3 == 0);
  loop.advance(2.0);
  const auto reading = statistics.snapshot();
  EXPECT_DOUBLE_EQ(reading.captureFPS, 30);
  EXPECT_DOUBLE_EQ(reading.presentationFPS, 15);
  EXPECT_DOUBLE_EQ(reading.updatedFPS, 5);
  EXPECT_EQ(reading.averageGPUms, 0) << "no GPU samples is 0, not a division by zero";

  loop.advance(1.0);
  EXPECT_EQ(statistics.snapshot(), RenderStatistics::Snapshot{}) << "the next window starts from zero";
}

TEST(RenderStatistics, GpuTimeAveragesOnlyUsableSamples) {
  sim::ManualLoop loop;
  RenderStatistics statistics(loop);
  statistics.recordGpuTime(4);
  statistics.recordGpuTime(6);
  statistics.recordGpuTime(0);
  for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(), -1.0}) statistics.recordGpuTime(bad);
  EXPECT_EQ(statistics.counters().gpuSamples, 3);
  loop.advance(1);
  EXPECT_DOUBLE_EQ(statistics.snapshot().averageGPUms, 10.0 / 3);
}

TEST(RenderStatistics, ConcurrentWritersLoseNothingAcrossWindows) {
  sim::ManualLoop loop;
  RenderStatistics statistics(loop);
  constexpr int perThread = 20000;
  std::vector<std::thread> writers;
  writers.emplace_back([&] {
    for (int i = 0; i < perThread; ++i) statistics.recordCapture();
  });
  writers.emplace_back([&] {
    for (int i = 0; i < perThread; ++i) statistics.recordPresentation(i % 2 == 0);
  });
  writers.emplace_back([&] {
    for (int i = 0; i < perThread; ++i) statistics.recordGpuTime(1);
  });
  // Windows of exactly one second each, so each rate is that window's count.
  double captures = 0, presentations = 0, updated = 0;
  for (int window = 0; window < 50; ++window) {
    loop.advance(1);
    const auto reading = statistics.snapshot();
    captures += reading.captureFPS;
    presentations += reading.presentationFPS;
    updated += reading.updatedFPS;
  }
  for (auto& writer : writers) writer.join();
  loop.advance(1);
  const auto last = statistics.snapshot();
  EXPECT_EQ(captures + last.captureFPS, perThread);
  EXPECT_EQ(presentations + last.presentationFPS, perThread);
  EXPECT_EQ(updated + last.updatedFPS, perThread / 2);
}
