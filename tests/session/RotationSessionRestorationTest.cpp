// Restoration that ends: one schedule per outside event, an iPad that is never left parked, and
// operations that end whatever they throw.

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "session/SessionFixture.h"

using namespace turnlet;

namespace {

const std::string restoring90 = "Restoring 90° for iPad…";
const std::string unexpected = "Turnlet hit an unexpected error (std::bad_alloc).";

// The session on the small Mac with a quarter turn remembered for the iPad, recording each new
// status line and when it came.
struct Restoration : SessionFixture {
  Restoration() {
    session->preferences().remember(QuarterTurn::right, ipadUUID);
    session->onChange = [this] {
      if (statuses.empty() || statuses.back() != state().status) statuses.push_back(state().status), times.push_back(loop.now());
    };
    world.displays.addScreenParametersObserver([this] {
      for (const sim::SimDisplay& d : world.displays.displays())
        if (d.vendor == 0x544C) virtualDisplays.insert(d.id);
    });
  }
  int count(const std::string& status) const { return static_cast<int>(std::count(statuses.begin(), statuses.end(), status)); }
  // The layout refuses every change for that long from now, as a transient failure would.
  void rejectLayoutFor(double seconds) {
    world.displays.failComplete = 1000;
    loop.schedule(seconds, [this] { world.displays.failComplete.reset(); });
  }

  std::vector<std::string> statuses;
  std::vector<double> times;
  std::set<DisplayID> virtualDisplays;
};

// A display plugged in between attempts adds none.
TEST(RotationSessionRestoration, ARenderFailureThatPersistsEndsAfterOneScheduleOfFourAttempts) {
  Restoration f;
  f.world.gpu.executionError = PlatformError("MTLCommandBufferErrorDomain", 2, "GPU hang");
  f.session->startMonitoring();
  const std::string failed = "Reconnecting Sidecar · GPU hang";
  ASSERT_TRUE(f.loop.runUntil([&] { return f.count(failed) == 1 && !f.state().busy; }, 5));
  f.world.displays.connect({0, "Studio Display", Rect(-30, 0, 30, 20), 1552, 0, 0, false, false, "STUDIO"});
  f.run(60);
  std::vector<std::string> expected;
  for (int i = 0; i < 4; ++i) expected.insert(expected.end(), {restoring90, "Rotating…", failed});
  ASSERT_EQ(f.statuses, expected);
  // Each attempt after its delay, counted from the end of the one before.
  const double delays[] = {0.6, 1.0, 2.0, 4.0};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(f.times[3 * i] - (i ? f.times[3 * i - 1] : 0.0), delays[i], 0.02) << i;
  EXPECT_EQ(f.world.displays.completedLayouts().size(), 8u);  // parked and put back, four times
  EXPECT_EQ(f.virtualDisplays.size(), 4u);
  f.expectNothingRotated({40, 0});
  EXPECT_FALSE(f.state().recovery->isRunning());
}

// A remembered rotation whose first content fetch fails comes back by the restoration's own
// retry, without any outside event.
TEST(RotationSessionRestoration, AFirstFailedFetchIsMendedByTheNextAttempt) {
  Restoration f;
  f.world.capture.fetchFault = {PlatformError("SC", -3801, "Not now."), 0, false, 1};
  f.session->startMonitoring();
  f.run(10);
  EXPECT_EQ(f.state().status, "90° · Portrait");
  EXPECT_EQ(f.count("Not now."), 1);
  EXPECT_EQ(f.world.capture.fetchCount(), 3);  // the failed one, the miss, the listing
}

// A put-back the display server rejects for a moment leaves the iPad parked; one schedule puts it
// back with no command, and Reset stays available meanwhile.
TEST(RotationSessionRestoration, AnIPadLeftParkedIsPutBackWithinOneSchedule) {
  struct Row {
    const char* name;
    int parking;     // the rejection starts when the iPad is parked for this time (0: at Reset)
    bool remembered;  // a quarter turn is remembered, so that restoration attempts apply it
    const char* failure;
  };
  const Row rows[] = {{"reset", 0, false, "macOS rejected the display layout (1000)."},
                      {"failed first rotate", 1, false, "No start."},
                      {"last attempt of a schedule", 4, true, "No start."}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Restoration f;
    if (!row.remembered) f.session->preferences().remember(QuarterTurn::normal, SessionFixture::ipadUUID);
    int parked = 0;
    bool away = false;
    f.world.displays.addScreenParametersObserver([&] {
      if (!away && f.ipadBounds().origin.x < 0 && ++parked == row.parking) f.rejectLayoutFor(0.3);
      away = f.ipadBounds().origin.x < 0;
    });
    if (row.parking != 0) f.world.capture.startFault.error = PlatformError("SC", -3, "No start.");
    f.session->startMonitoring();
    f.run(row.remembered ? 0 : 2);
    if (row.parking == 0) {
      f.press(f.session->rotate());
      f.run(2);
      ASSERT_EQ(f.state().status, "90° · Portrait");
      f.rejectLayoutFor(0.3);
      f.press(f.session->reset());
    } else if (!row.remembered) {
      f.press(f.session->rotate());
    }
    ASSERT_TRUE(f.loop.runUntil([&] { return !f.state().busy && f.state().status.find("Restore failed") != std::string::npos; }, 20));
    EXPECT_EQ(f.state().status, std::string(row.failure) + " Restore failed: macOS rejected the display layout (1000).");
    EXPECT_LT(f.ipadBounds().origin.x, 0);
    EXPECT_TRUE(f.session->canReset());
    f.run(20);
    f.expectNothingRotated({40, 0});
    // Put back by itself, the iPad no longer shows the failure to put it back.
    EXPECT_EQ(f.state().status, row.remembered ? "No start." : "0° · Rotation off");
    EXPECT_FALSE(f.session->canReset());  // no iPad parked, no rotation remembered for the last one
  }
}

// Something that is no Error, thrown by a platform call, ends the operation like a failure: the
// configuration begun is cancelled, busy ends with the operation, and the next Rotate works. Throws
// at touch input are the random fault test's.
TEST(RotationSessionRestoration, AnExceptionThatIsNoErrorEndsTheOperation) {
  const auto throwing = [](Restoration& f, int times) {
    f.world.displays.betweenListCalls = [times]() mutable {
      if (times-- > 0) throw std::bad_alloc();
    };
  };
  const auto badAlloc = std::make_exception_ptr(std::bad_alloc());
  // Each arms the fault and starts the operation.
  const std::pair<const char*, std::function<void(Restoration&)>> rows[] = {
      {"apply", [&](auto& f) { throwing(f, 1), f.press(f.session->rotate()); }},
      {"teardown",
       [&](auto& f) {
         f.press(f.session->rotate()), f.run(2);
         throwing(f, 1), f.state().renderer->onFailure(PlatformError("MTL", 5, "Device lost."));
       }},
      {"restoration",
       [&](auto& f) {
         f.session->preferences().remember(QuarterTurn::right, SessionFixture::ipadUUID);
         f.session->startMonitoring(), f.run(0.5), throwing(f, 1);
       }},
      {"placement begun", [&](auto& f) { f.throws.arm("configureOrigin", badAlloc), f.press(f.session->rotate()); }},
  };
  for (const auto& [name, start] : rows) {
    SCOPED_TRACE(name);
    Restoration f;
    f.session->preferences().remember(QuarterTurn::normal, SessionFixture::ipadUUID);
    start(f);
    EXPECT_TRUE(f.loop.runUntil([&] { return f.count(unexpected) == 1 && !f.state().busy; }, 5));
    f.loop.runUntilIdle();
    EXPECT_FALSE(f.state().busy || f.state().needsSuspension || f.world.displays.configurationOpen());
    EXPECT_EQ(f.state().status, unexpected);
    EXPECT_TRUE(!f.log.lines().empty() && f.log.lines().back().find("std::bad_alloc") != std::string::npos);
    f.run(3);
    if (!f.state().virtualDisplay) f.press(f.session->rotate()), f.run(2);
    EXPECT_EQ(f.state().status, "90° · Portrait");
  }
}

// A status line never outlives what it describes.
TEST(RotationSessionRestoration, TheStatusFollowsTheLatestEvent) {
  const std::pair<const char*, std::function<void(SessionFixture&)>> suspensions[] = {
      {"Sleeping · Rotation will resume when Sidecar returns",
       [](auto& f) { f.world.workspace.post(WorkspaceNotification::screensDidSleep); }},
      {"Waiting for Sidecar to reconnect…", [](auto& f) { f.world.displays.disconnect(SessionFixture::ipadID); }},
  };
  for (const auto& [status, suspend] : suspensions) {
    SCOPED_TRACE(status);
    SessionFixture f;
    f.session->startMonitoring();
    // The first Rotate fails to start its capture, and the capture's stop is slow.
    f.world.capture.startFault.error = PlatformError("SC", -3, "No start.");
    f.world.capture.stopFault.extraDelaySeconds = 0.5;
    f.press(f.session->rotate());
    bool started = false;
    ASSERT_TRUE(f.loop.runUntil([&] { return (started = started || f.state().capture) && !f.state().capture; }, 5));
    suspend(f);  // while the failed apply tears down
    f.run(0.4);
    ASSERT_TRUE(f.state().busy);
    f.run(1);
    EXPECT_EQ(f.state().status, status);
  }
  // A waiting line left once there is nothing to restore is the random fault test's to find.
}

}  // namespace
