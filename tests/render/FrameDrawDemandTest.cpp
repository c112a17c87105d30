#include <gtest/gtest.h>

#include "render/FrameDrawDemand.h"

using namespace turnlet;
using Ticket = FrameDrawDemand::Ticket;

// The renderer's tests drive the demand through its events; this is what they cannot tell apart.
TEST(FrameDrawDemand, CompletionOrRetryRequestsOnlyWhenAllowed) {
  struct Row {
    const char* name;
    bool invalidated, isRunning, needsDraw, pending;
    bool expected;
  };
  const Row rows[] = {
      {"due", false, true, true, false, true},
      {"invalidated", true, true, true, false, false},
      {"not running", false, false, true, false, false},
      {"nothing new", false, true, false, false, false},
      {"already pending", false, true, true, true, false},
  };
  for (const auto& row : rows) {
    FrameDrawDemand d{.isRunning = row.isRunning, .needsDraw = row.needsDraw, .notificationPending = row.pending,
                      .invalidated = row.invalidated};
    auto expected = d;
    expected.notificationPending = row.pending || row.expected;
    EXPECT_EQ(d.requestIfNeeded(), row.expected) << row.name;
    EXPECT_EQ(d, expected) << row.name << ": only the pending flag may change";
  }
}
