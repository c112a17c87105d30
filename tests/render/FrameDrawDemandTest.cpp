#include <gtest/gtest.h>

#include "render/FrameDrawDemand.h"

using namespace turnlet;

namespace {

using Ticket = FrameDrawDemand::Ticket;

FrameDrawDemand running() {
  FrameDrawDemand d;
  d.start();
  return d;
}

}  // namespace

TEST(FrameDrawDemand, FramesBeforeStartWaitAndStartAsksOnce) {
  FrameDrawDemand d;
  EXPECT_EQ(d, FrameDrawDemand{});
  EXPECT_FALSE(d.frameArrived());
  EXPECT_FALSE(d.frameArrived());
  EXPECT_EQ(d.latestSequence, 2u);
  EXPECT_TRUE(d.needsDraw);
  EXPECT_FALSE(d.notificationPending);

  EXPECT_TRUE(d.start());
  EXPECT_TRUE(d.isRunning);
  EXPECT_TRUE(d.notificationPending);
  EXPECT_FALSE(d.start()) << "a request is already pending";
}

TEST(FrameDrawDemand, StartWithNothingToDrawAsksNothing) {
  FrameDrawDemand d;
  EXPECT_FALSE(d.start());
  EXPECT_FALSE(d.notificationPending);
  // A surface change alone is nothing to draw until a frame exists.
  EXPECT_FALSE(d.surfaceChanged());
  EXPECT_EQ(d.latestSurface, 1u);
  EXPECT_FALSE(d.needsDraw);
  EXPECT_TRUE(d.frameArrived());
  EXPECT_EQ(d.beginDraw(), (Ticket{1, 1}));
}

TEST(FrameDrawDemand, ManyFramesCoalesceIntoOneRequestForTheNewest) {
  auto d = running();
  int requests = 0;
  for (int i = 0; i < 10; ++i) requests += d.frameArrived();
  EXPECT_EQ(requests, 1);

  auto ticket = d.beginDraw();
  ASSERT_TRUE(ticket);
  EXPECT_EQ(*ticket, (Ticket{10, 0}));
  EXPECT_FALSE(d.notificationPending);
  EXPECT_TRUE(d.needsDraw) << "nothing is submitted yet";

  EXPECT_FALSE(d.didSubmit(*ticket));
  EXPECT_EQ(d.submittedSequence, 10u);
  EXPECT_FALSE(d.needsDraw);
  EXPECT_FALSE(d.requestIfNeeded());
}

TEST(FrameDrawDemand, AFrameDuringEncodingIsRequestedBySubmission) {
  auto d = running();
  d.frameArrived();
  auto ticket = *d.beginDraw();
  EXPECT_TRUE(d.frameArrived()) << "no request was pending once the draw began";
  d.beginDraw();  // the request is consumed by a draw that, say, found no GPU slot
  EXPECT_FALSE(d.notificationPending);
  EXPECT_TRUE(d.didSubmit(ticket)) << "frame 2 is still unsubmitted";
  EXPECT_TRUE(d.notificationPending);
  EXPECT_EQ(*d.beginDraw(), (Ticket{2, 0}));
}

TEST(FrameDrawDemand, SubmissionKeepsTheHighestNumbers) {
  auto d = running();
  for (int i = 0; i < 3; ++i) d.frameArrived();
  d.surfaceChanged();
  d.beginDraw();
  d.didSubmit(Ticket{3, 1});
  // A late submission of an older ticket does not move anything back.
  EXPECT_FALSE(d.didSubmit(Ticket{2, 0}));
  EXPECT_EQ(d.submittedSequence, 3u);
  EXPECT_EQ(d.submittedSurface, 1u);
  EXPECT_FALSE(d.needsDraw);
}

TEST(FrameDrawDemand, ASurfaceChangeRedrawsTheSameFrame) {
  auto d = running();
  d.frameArrived();
  d.didSubmit(*d.beginDraw());
  EXPECT_TRUE(d.surfaceChanged());
  EXPECT_TRUE(d.needsDraw);
  auto ticket = *d.beginDraw();
  EXPECT_EQ(ticket, (Ticket{1, 1})) << "same frame, new surface";
  EXPECT_FALSE(d.didSubmit(ticket));
  EXPECT_FALSE(d.needsDraw);
}

TEST(FrameDrawDemand, DrawBeginsWithoutATicketUnlessRunningAndNeeded) {
  FrameDrawDemand notRunning;
  notRunning.frameArrived();
  notRunning.notificationPending = true;
  EXPECT_FALSE(notRunning.beginDraw());
  EXPECT_FALSE(notRunning.notificationPending) << "the request is consumed regardless";

  auto nothingNew = running();
  nothingNew.notificationPending = true;
  EXPECT_FALSE(nothingNew.beginDraw());
  EXPECT_FALSE(nothingNew.notificationPending);

  auto invalidated = running();
  invalidated.frameArrived();
  invalidated.invalidate();
  EXPECT_FALSE(invalidated.beginDraw());
}

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
    FrameDrawDemand d;
    d.invalidated = row.invalidated;
    d.isRunning = row.isRunning;
    d.needsDraw = row.needsDraw;
    d.notificationPending = row.pending;
    const auto before = d;
    EXPECT_EQ(d.requestIfNeeded(), row.expected) << row.name;
    auto expected = before;
    expected.notificationPending = before.notificationPending || row.expected;
    EXPECT_EQ(d, expected) << row.name << ": only the pending flag may change";
  }
}

TEST(FrameDrawDemand, SubmissionIgnoredWhenNotRunningOrInvalidated) {
  FrameDrawDemand stopped;
  stopped.frameArrived();
  auto before = stopped;
  EXPECT_FALSE(stopped.didSubmit(Ticket{1, 0}));
  EXPECT_EQ(stopped, before);

  auto ended = running();
  ended.frameArrived();
  ended.invalidate();
  before = ended;
  EXPECT_FALSE(ended.didSubmit(Ticket{1, 0}));
  EXPECT_EQ(ended, before);
}

TEST(FrameDrawDemand, InvalidationIsFinalAndKeepsTheCounters) {
  auto d = running();
  d.frameArrived();
  d.surfaceChanged();
  d.invalidate();
  EXPECT_TRUE(d.invalidated);
  EXPECT_FALSE(d.isRunning);
  EXPECT_FALSE(d.needsDraw);
  EXPECT_FALSE(d.notificationPending);
  EXPECT_EQ(d.latestSequence, 1u);
  EXPECT_EQ(d.latestSurface, 1u);

  const auto after = d;
  EXPECT_FALSE(d.frameArrived());
  EXPECT_FALSE(d.surfaceChanged());
  EXPECT_FALSE(d.start());
  EXPECT_FALSE(d.requestIfNeeded());
  EXPECT_EQ(d, after);
}
