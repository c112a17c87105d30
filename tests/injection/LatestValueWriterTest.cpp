#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "host/ThreadSerialQueue.h"
#include "injection/LatestValueWriter.h"
#include "sim/system/ManualLoop.h"
#include "sim/system/ManualSerialQueue.h"

using namespace turnlet;

namespace {

struct VirtualWriter {
  sim::ManualLoop loop;
  sim::ManualQueueFactory queues{loop};
  std::vector<int> written;
  std::shared_ptr<LatestValueWriter<int>> writer =
      LatestValueWriter<int>::make(queues, loop, 60, "TouchWindowMove.AXPosition", [this](int v) { written.push_back(v); });
  void run(double seconds) {
    for (int i = 0; i < 20; ++i) loop.advance(seconds / 20), queues.drainAll();
  }
};

}  // namespace

TEST(LatestValueWriter, WritesTheNewestAtMostSixtyTimesASecondUntilFinishedOrCancelled) {
  VirtualWriter w;
  for (int i = 1; i <= 10; ++i) w.writer->submit(i), w.queues.drainAll(), w.loop.advance(0.001);
  w.run(0.05);
  EXPECT_EQ(w.written, (std::vector<int>{1, 10})) << "the first at once, then only the newest";
  EXPECT_EQ(w.queues.created().back().second, QualityOfService::userInteractive);
  // finish() writes what is pending and stops; later values are refused.
  w.writer->submit(11);
  w.writer->finish();
  w.writer->submit(12);
  w.run(0.05);
  EXPECT_EQ(w.written.back(), 11);
  EXPECT_TRUE(w.writer->isStopped());
  // cancel() drops the pending value.
  VirtualWriter u;
  u.writer->submit(1), u.writer->submit(2), u.writer->cancel(), u.run(0.05);
  EXPECT_TRUE(u.written.empty());
  // Dropped right after finishing, with its last write still waiting for the interval.
  VirtualWriter v;
  v.writer->submit(1);
  v.queues.drainAll();
  v.writer->submit(2);
  v.writer->finish();
  v.writer.reset();
  v.run(0.05);
  EXPECT_EQ(v.written, (std::vector<int>{1, 2}));
}

TEST(LatestValueWriter, ThreadsSubmittingWhileItWritesNeverOverlapWritesAndEndWithTheNewest) {
  sim::ManualLoop clock;  // only its clock is read
  host::ThreadQueueFactory queues;
  std::atomic<int> inFlight{0}, overlaps{0}, last{-1};
  std::shared_ptr<LatestValueWriter<int>> writer;
  writer = LatestValueWriter<int>::make(queues, clock, 0, "TouchWindowMove.AXPosition", [&](int v) {
    if (inFlight.fetch_add(1) != 0) ++overlaps;
    (void)writer->isIdle();  // takes the lock: held during the write, this would never return
    last = v;
    inFlight.fetch_sub(1);
  });
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) writer->submit(t * 10000 + i);
    });
  for (auto& t : threads) t.join();
  writer->submit(-7);
  writer->finish();
  while (!writer->isStopped()) std::this_thread::yield();
  EXPECT_EQ(overlaps, 0);
  EXPECT_EQ(last, -7);
  writer.reset();
}
