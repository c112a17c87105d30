// The macOS backend's own tests: built and run only on a Mac (type-checked on Linux by
// scripts/check-macos). The loop's contract comes first: it is what a Mac run must show before
// anything else of the backend is worth trying.

#import <AppKit/AppKit.h>
#import <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "macos/system/AppMainLoop.h"
#include "macos/system/DispatchSerialQueue.h"
#include "macos/bridge/TextBridge.h"
#include "macos/system/UnifiedLog.h"
#include "support/LoopContract.h"

using namespace turnlet;
using namespace turnlet::macos;

TEST(AppMainLoop, KeepsTheLoopContract) {
  AppMainLoop loop;
  loopcontract::postsThenDueTimers(loop, [&loop] { loop.stop(); });
  loop.run();
  loopcontract::stopsAndRunsAgain(loop);
}

TEST(AppMainLoop, PostsAndTimersRunInTheModalPanelAndEventTrackingModes) {
  // What a pending terminate-later reply (modal panel) and an open menu (event tracking) run the
  // loop in: posts and timers must run there too, or Quit hangs and rendering stops.
  AppMainLoop loop;
  for (NSRunLoopMode mode : {NSModalPanelRunLoopMode, NSEventTrackingRunLoopMode}) {
    std::vector<std::string> ran;
    loop.post([&] { ran.push_back("post"); });
    loop.schedule(0.01, [&] {
      ran.push_back("timer");
      CFRunLoopStop(CFRunLoopGetMain());
    }, 0.005);
    CFRunLoopRunInMode((__bridge CFRunLoopMode)mode, 5.0, false);
    EXPECT_EQ(ran, (std::vector<std::string>{"post", "timer"})) << utf8String(mode);
  }
}

TEST(AppMainLoop, NowIsTheSystemUptime) {
  AppMainLoop loop;
  const double uptime = NSProcessInfo.processInfo.systemUptime;
  EXPECT_NEAR(loop.now(), uptime, 0.5);
  EXPECT_TRUE(loop.isLoopThread());
}

TEST(DispatchSerialQueue, RunsInOrderAndDestructionDropsWhatHasNotStarted) {
  std::promise<void> started, release;
  std::vector<std::string> log;
  auto held = std::make_shared<int>(0);
  {
    DispatchSerialQueue queue("local.turnlet.test", QualityOfService::userInteractive);
    EXPECT_EQ(queue.label(), "local.turnlet.test");
    queue.async([&, wait = release.get_future().share()] {
      started.set_value();
      wait.wait();
      log.push_back("first");
    });
    queue.asyncAfter(60, [&, held] { log.push_back("much later"); });
    queue.async([&, held] { log.push_back("never started"); });
    started.get_future().wait();
    release.set_value();
  }  // waits for "first", drops the rest
  EXPECT_EQ(log, (std::vector<std::string>{"first"}));
  EXPECT_EQ(held.use_count(), 1);
}

TEST(UnifiedLog, WritesTheProcessLogAndTheUnifiedLog) {
  UnifiedLog log;
  log.line("Turnlet capture stop: 100% \xFF done");  // a % and a malformed byte print as they are
  log.info("local.turnlet.app", "Touch", "touch test message");
  log.info("local.turnlet.app", "Touch", "again, same log object");
  SUCCEED();  // seen with: log show --predicate 'subsystem == "local.turnlet.app"' --last 1m --info
}

TEST(TextBridge, MalformedTextCrossesAsReplacementCharacters) {
  EXPECT_EQ(utf8String(makeNSString("90\xC2\xB0 \xC2\xB7 \xFF")), "90\xC2\xB0 \xC2\xB7 \xEF\xBF\xBD");
  EXPECT_EQ(utf8String(nil), "");
}
