#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <future>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "macos/system/DispatchTiming.h"
#include "macos/system/SerialQueueCore.h"

using namespace turnlet;
using macos::SerialQueueCore;

TEST(MacSerialQueue, RunsWhatIsAddedUntilClosedThenDropsTheRest) {
  auto core = std::make_shared<SerialQueueCore>();
  std::vector<std::string> log;
  auto held = std::make_shared<int>(0);
  const auto first = core->add([&] { log.push_back("first"); });
  const auto second = core->add([&, held] { log.push_back("second"); });
  ASSERT_TRUE(first && second);
  core->run(*first);
  core->run(*first);  // a number runs once
  core->run(12345);   // unknown numbers are ignored
  EXPECT_EQ(log, (std::vector<std::string>{"first"}));

  core->close();  // nothing running: returns at once and drops the work not started
  EXPECT_EQ(held.use_count(), 1);
  core->run(*second);  // the block still comes later: it finds nothing
  EXPECT_EQ(log, (std::vector<std::string>{"first"}));
  EXPECT_FALSE(core->add([held] {}));
  EXPECT_EQ(held.use_count(), 1);  // dropped at once, not kept
}

TEST(MacSerialQueue, ClosingWaitsForTheRunningWorkUnlessItIsThatWork) {
  // The queue's thread runs work that is still busy when the owner closes the queue: close()
  // returns only after the work, and what it captured, has ended.
  auto core = std::make_shared<SerialQueueCore>();
  std::promise<void> started, release;
  std::mutex mutex;
  std::vector<std::string> log;
  auto note = [&](const char* what) {
    std::lock_guard lock(mutex);
    log.push_back(what);
  };
  auto capture = std::shared_ptr<void>(nullptr, [&](void*) { note("capture ended"); });
  const auto id = core->add([&, capture, wait = release.get_future().share()] {
    started.set_value();
    wait.wait();
    note("work ended");
  });
  capture.reset();
  std::thread queue([core, id] { core->run(*id); });
  started.get_future().wait();
  std::thread owner([&] {
    core->close();
    note("closed");
  });
  release.set_value();
  owner.join();
  queue.join();
  EXPECT_EQ(log, (std::vector<std::string>{"work ended", "capture ended", "closed"}));

  // Work that drops the last owner of its queue closes it from the queue's own thread.
  auto self = std::make_shared<SerialQueueCore>();
  bool ran = false;
  const auto last = self->add([&] {
    self->close();  // would wait for itself for ever
    ran = true;
  });
  std::thread([self, last] { self->run(*last); }).join();
  EXPECT_TRUE(ran);
}

TEST(MacSerialQueue, QualityOfServiceAndDelays) {
  EXPECT_EQ(macos::qosClassValue(QualityOfService::userInteractive), 0x21u);
  EXPECT_EQ(macos::qosClassValue(QualityOfService::userInitiated), 0x19u);
  EXPECT_EQ(macos::qosClassValue(QualityOfService::standard), 0x15u);
  EXPECT_EQ(macos::qosClassValue(QualityOfService::utility), 0x11u);
  EXPECT_EQ(macos::qosClassValue(QualityOfService::background), 0x09u);

  struct Row {
    const char* name;
    double seconds;
    std::optional<std::int64_t> nanoseconds;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<Row> rows = {
      {"zero", 0, 0},
      {"a millisecond, never early", 0.001, 1'000'000},
      {"a part of a nanosecond rounds up", 1.5e-9, 2},
      {"negative is now", -3, 0},
      {"NaN is now", std::nan(""), 0},
      {"beyond 64 bits is the largest", 1e12, std::numeric_limits<std::int64_t>::max()},
      {"infinite never falls due", inf, std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(macos::delayNanoseconds(row.seconds), row.nanoseconds) << row.name;
}
