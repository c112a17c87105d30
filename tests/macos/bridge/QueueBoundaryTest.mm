// The macOS backend's own tests: built and run only on a Mac (type-checked on Linux by
// scripts/check-macos). What a block on a platform queue raises must end in the block: a queue
// has no handler above it, and an exception leaving it ends the process.

#import <Foundation/Foundation.h>
#import <dispatch/dispatch.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "macos/bridge/QueueBoundary.h"

using namespace turnlet::macos;

TEST(QueueBoundary, NothingRaisedOnAPlatformQueueLeavesTheBlock) {
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
  };
  dispatch_queue_t queue = dispatch_queue_create("local.turnlet.tests.boundary", DISPATCH_QUEUE_SERIAL);
  for (const Row& row : rows) {
    __block bool clean = !row.clean;
    void (^body)(void) = row.body;
    dispatch_sync(queue, ^{
      clean = ranWithoutException([&] { body(); });
    });
    EXPECT_EQ(clean, row.clean) << row.name;
  }
}
