#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/MainLoop.h"

// What every main loop keeps, checked on each implementation (the Qt one in its own binary).
namespace turnlet::loopcontract {

// Work that posts itself again until the timer has had its turn (hops goes negative).
inline void hop(MainLoop& loop, std::shared_ptr<int> hops) {
  if (*hops >= 0 && ++*hops < 100000) loop.post([&loop, hops] { hop(loop, hops); });
}

// Posts from any thread run in order, then timers by due time, even while posts keep coming;
// done() ends the run.
inline void postsThenDueTimers(MainLoop& loop, std::function<void()> done) {
  auto log = std::make_shared<std::vector<std::string>>();
  std::thread([&loop, log] {
    for (const char* name : {"a", "b"}) loop.post([log, name] { log->push_back(name); });
  }).join();
  loop.schedule(0.002, [log, done] {
    EXPECT_EQ(*log, (std::vector<std::string>{"a", "b", "due at once", "t1"}));
    done();
  });
  loop.schedule(0.001, [log] { log->push_back("t1"); });
  loop.cancel(loop.schedule(-3, [log] { log->push_back("cancelled"); }));
  // A task resuming itself through post() used to hold off a due timer for as long as it ran.
  auto hops = std::make_shared<int>(0);
  loop.schedule(std::numeric_limits<double>::quiet_NaN(), [log, hops] {  // a NaN delay counts as zero
    EXPECT_LE(std::exchange(*hops, -1), 2);
    log->push_back("due at once");
  });
  hop(loop, hops);
}

// A real loop's run() and stop(): a stop() before run() used to be lost, and run() blocked for
// ever; the loop runs again afterwards, on its thread.
template <class Loop>
void stopsAndRunsAgain(Loop& loop) {
  loop.stop();
  loop.run();
  bool ranAfterRestart = false;
  loop.post([&] { ranAfterRestart = loop.isLoopThread(), loop.stop(); });
  loop.run();
  EXPECT_TRUE(ranAfterRestart);
}

}  // namespace turnlet::loopcontract
