// The macOS backend's own tests: built and run only on a Mac (type-checked on Linux by
// scripts/check-macos). What a call from the platform raises must end at the entry: the platform
// above it has no handler, and an exception leaving it ends the process. Debug builds also assert
// that each entry comes on the thread it was made for.

#import <Foundation/Foundation.h>
#import <dispatch/dispatch.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "macos/bridge/PlatformEntry.h"

using namespace turnlet::macos;

TEST(PlatformEntry, NothingRaisedLeavesTheEntryAndEachKnowsItsThread) {
  struct Row {
    std::string name;
    void (^body)(void);
    EntryThread thread;
    bool onMain;
    bool clean;
    bool rightThread;
  };
  const Row rows[] = {
      {"nothing raised on main", ^{}, EntryThread::main, true, true, true},
      {"an empty attachments array indexed on a queue", ^{ (void)[[NSArray array] objectAtIndex:0]; },
       EntryThread::background, false, false, true},
      {"an unknown key on main", ^{ [[[NSObject alloc] init] setValue:@1 forKey:@"noSuchKey"]; }, EntryThread::main, true,
       false, true},
      {"a C++ exception on a queue", ^{ throw std::runtime_error("thrown"); }, EntryThread::either, false, false, true},
      {"something else thrown on main", ^{ throw 7; }, EntryThread::either, true, false, true},
      {"the main thread's entry on a queue", ^{}, EntryThread::main, false, true, false},
      {"a queue's entry on the main thread", ^{}, EntryThread::background, true, true, false},
  };
  dispatch_queue_t queue = dispatch_queue_create("local.turnlet.tests.entry", DISPATCH_QUEUE_SERIAL);
  ASSERT_TRUE(NSThread.isMainThread);
  for (const Row& row : rows) {
    __block bool clean = !row.clean;
    __block bool rightThread = !row.rightThread;
    void (^body)(void) = row.body;
    const EntryThread thread = row.thread;
    void (^enter)(void) = ^{
      clean = ranWithoutException(EntryThread::either, [&] { body(); });
      rightThread = onEntryThread(thread);
    };
    if (row.onMain) enter();
    else dispatch_sync(queue, enter);
    EXPECT_EQ(clean, row.clean) << row.name;
    EXPECT_EQ(rightThread, row.rightThread) << row.name;
  }
}
