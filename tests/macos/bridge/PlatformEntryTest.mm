// The macOS backend's own tests: built and run only on a Mac (type-checked on Linux by
// scripts/check-macos). What a call from the platform raises must end at the entry: the platform
// above it has no handler, and an exception leaving it ends the process.

#import <Foundation/Foundation.h>
#import <dispatch/dispatch.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "macos/bridge/PlatformEntry.h"

using namespace turnlet::macos;

TEST(PlatformEntry, NothingRaisedOnAPlatformQueueLeavesTheBlock) {
  struct Row {
    std::string name;
    void (^body)(void);
    bool clean;
  };
  const Row rows[] = {
      {"nothing raised", ^{}, true},
      {"an empty attachments array indexed", ^{ (void)[[NSArray array] objectAtIndex:0]; }, false},
      {"an unknown key", ^{ [[[NSObject alloc] init] setValue:@1 forKey:@"noSuchKey"]; }, false},
      {"a C++ exception", ^{ throw std::runtime_error("thrown"); }, false},
      {"something else thrown", ^{ throw 7; }, false},
  };
  dispatch_queue_t queue = dispatch_queue_create("local.turnlet.tests.entry", DISPATCH_QUEUE_SERIAL);
  for (const Row& row : rows) {
    __block bool clean = !row.clean;
    void (^body)(void) = row.body;
    dispatch_sync(queue, ^{
      clean = ranWithoutException(EntryThread::background, [&] { body(); });
    });
    EXPECT_EQ(clean, row.clean) << row.name;
  }
}

// What debug builds assert at every entry.
TEST(PlatformEntry, AnEntryKnowsTheThreadItWasMadeFor) {
  struct Row {
    std::string name;
    EntryThread expected;
    bool onMain;
    bool right;
  };
  const Row rows[] = {
      {"main on main", EntryThread::main, true, true},
      {"main on a queue", EntryThread::main, false, false},
      {"background on main", EntryThread::background, true, false},
      {"background on a queue", EntryThread::background, false, true},
      {"either on main", EntryThread::either, true, true},
      {"either on a queue", EntryThread::either, false, true},
  };
  dispatch_queue_t queue = dispatch_queue_create("local.turnlet.tests.entry-thread", DISPATCH_QUEUE_SERIAL);
  ASSERT_TRUE(NSThread.isMainThread);
  for (const Row& row : rows) {
    __block bool right = !row.right;
    const EntryThread expected = row.expected;
    if (row.onMain) right = onEntryThread(expected);
    else dispatch_sync(queue, ^{ right = onEntryThread(expected); });
    EXPECT_EQ(right, row.right) << row.name;
  }
}
