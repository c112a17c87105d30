#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "session/RotationSessionTimer.h"
#include "session/SessionFixture.h"

using namespace turnlet;

namespace {

const char* const noImage = "The rotated desktop did not produce an image. The Sidecar layout has been restored.";

class RotationSessionTest : public ::testing::Test, public SessionFixture {
 protected:
  // Rotates once and lets the apply run to its end.
  void rotateOnce(double seconds = 2) {
    press(session->rotate());
    run(seconds);
  }
};

TEST_F(RotationSessionTest, FourPressesTurnTheIPadRoundWithOneVirtualDisplayResized) {
  const Point home = ipadBounds().origin;
  struct Row {
    const char* status;
    Size virtualSize;  // points; empty once nothing is rotated
  } rows[] = {{"90° · Portrait", {12, 16}}, {"180° · Landscape", {16, 12}}, {"270° · Portrait", {12, 16}},
              {"0° · Rotation off", {}}};
  std::optional<DisplayID> first;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.status);
    rotateOnce();
    EXPECT_EQ(state().status, row.status);
    if (row.virtualSize.width == 0) continue;
    const DisplayID id = state().virtualDisplay->displayID();
    if (!first) first = id;
    EXPECT_EQ(id, *first);  // resized, not recreated
    EXPECT_EQ(world.displays.find(id)->bounds.size, row.virtualSize);
    EXPECT_EQ(world.capture.runningStreams(), 1);
    EXPECT_EQ(world.windows.windows().size(), 1u);
    EXPECT_EQ(ipadBounds().origin, (Point{40 - 16 + 1 - 40, -12 + 1}));
  }
  expectNothingRotated(home);
  EXPECT_EQ(world.capture.maxRunningStreams(), 1);
  EXPECT_EQ(world.capture.configurations().front().streamName, "Turnlet");
  EXPECT_EQ(world.capture.configurations().front().minimumFrameInterval, (MediaTime{1, 60}));
}

TEST(RotationSessionParking, TheIPadIsParkedDiagonallyOffTheDesktop) {
  SessionFixture f(SessionFixture::smallWorld(Rect(0, 0, 1440, 900), Rect(1440, 0, 1024, 768)));
  f.press(f.session->rotate());
  f.run(2);
  ASSERT_EQ(f.state().status, "90° · Portrait");
  EXPECT_EQ(f.world.displays.find(f.state().virtualDisplay->displayID())->bounds, Rect(1440, 0, 768, 1024));
  EXPECT_EQ(f.ipadBounds().origin, (Point{-1023, -767}));
}

TEST(RotationSessionFailures, EveryFailedApplyShowsItsMessageAndLeavesNothingBehind) {
  constexpr DisplayID ipadID = SessionFixture::ipadID;
  struct Row {
    const char* name;
    std::function<void(SessionFixture&)> fault;
    std::string status;
  } rows[] = {
      {"permission refused", [](auto& t) { t.world.permissions.screenCapture.granted = false; },
       "Allow Turnlet in System Settings → Privacy & Security → Screen & System Audio Recording, then reopen this "
       "app."},
      {"no iPad", [](auto& t) { t.world.displays.disconnect(ipadID); },
       "Connect your iPad using Sidecar, then press Rotate. If it has a custom name, choose it under Display in the "
       "menu bar."},
      {"virtual display raises",
       [](auto& t) { t.world.virtualDisplayClasses.raiseAt("CGVirtualDisplay applySettings:", "NSGenericException", "boom"); },
       "The private virtual display API raised an exception: boom"},
      {"size too large to convert", [](auto& t) { t.world.displays.setBounds(ipadID, Rect(40, 0, 3e9, 12)); },
       "macOS could not create the rotated desktop."},
      {"placement rejected", [](auto& t) { t.world.displays.failComplete = 1000; },
       "macOS rejected the display layout (1000). Restore failed: macOS rejected the display layout (1000)."},
      {"never listed for capture", [](auto& t) { t.world.capture.fetchesBeforeListed = 1000; },
       "macOS did not expose the rotated desktop to ScreenCaptureKit."},
      {"fetch fails", [](auto& t) { t.world.capture.fetchFault.error = PlatformError("SC", -1, "No content."); },
       "No content."},
      {"renderer fails", [](auto& t) { t.world.gpu.libraryError = PlatformError("MTL", 1, "No shaders."); },
       "No shaders."},
      {"no screen for the window", [](auto& t) {
         t.session->preferences().setPreferredDeviceID(SessionFixture::ipadUUID);
         t.world.displays.setHasScreen(ipadID, false);
       },
       "The Sidecar display is no longer connected."},
      {"output refused", [](auto& t) { t.world.capture.addOutputError = PlatformError("SC", -2, "No output."); },
       "No output."},
      {"start fails", [](auto& t) { t.world.capture.startFault.error = PlatformError("SC", -3, "No start."); },
       "No start."},
      {"start never completes", [](auto& t) { t.world.capture.startFault.neverCompletes = true; }, noImage},
      {"no frame", [](auto& t) { t.world.capture.deliversFrames = false; }, noImage},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SessionFixture f;
    const Point home = f.ipadBounds().origin;
    row.fault(f);
    f.press(f.session->rotate());
    f.run(12);
    EXPECT_EQ(f.state().status, row.status);
    f.expectNothingRotated(home);
    EXPECT_FALSE(f.state().needsSuspension);
    EXPECT_FALSE(f.session->preferences().rotation(SessionFixture::ipadUUID));  // nothing remembered
  }
}

TEST_F(RotationSessionTest, InterruptionsDuringAnApplyAndAfterIt) {
  // Screens sleep while the apply waits for its first frame.
  world.capture.deliversFrames = false;
  session->startMonitoring();
  press(session->rotate());
  run(1);
  ASSERT_TRUE(state().busy && state().capture);
  world.workspace.post(WorkspaceNotification::screensDidSleep);
  run(1);
  EXPECT_EQ(state().status, "Sleeping · Rotation will resume when Sidecar returns");
  expectNothingRotated({40, 0});

  // Awake again: a rotation whose own layout change neither suspends nor schedules.
  world.capture.deliversFrames = true;
  world.workspace.post(WorkspaceNotification::screensDidWake);
  run(9);
  rotateOnce();
  ASSERT_EQ(state().status, "90° · Portrait");
  const auto generation = state().generation;
  const int notifications = world.displays.notificationCount();
  auto earlierFailure = state().renderer->onFailure;
  run(2);
  EXPECT_GT(world.displays.notificationCount(), 0);
  EXPECT_EQ(notifications, world.displays.notificationCount());
  EXPECT_FALSE(state().recovery->isRunning());
  EXPECT_EQ(state().generation, generation);

  // A render failure from an earlier apply's renderer does nothing.
  rotateOnce();
  ASSERT_EQ(state().status, "180° · Landscape");
  const auto before = state().generation;
  earlierFailure(PlatformError("MTL", 5, "Device lost."));
  run(2);
  EXPECT_EQ(state().generation, before);
  EXPECT_EQ(state().status, "180° · Landscape");

  // The current renderer's failure during the first-frame wait ends that apply at its next check,
  // and the remembered rotation comes back.
  world.capture.deliversFrames = false;
  press(session->rotate());
  run(1);
  ASSERT_TRUE(state().busy && state().renderer);
  state().renderer->onFailure(PlatformError("MTL", 5, "Device lost."));
  run(0.3);
  EXPECT_EQ(state().status, "Reconnecting Sidecar · Device lost.");
  expectNothingRotated({40, 0});
  world.capture.deliversFrames = true;
  run(3);
  EXPECT_EQ(state().status, "180° · Landscape");
}

TEST_F(RotationSessionTest, ARotationRememberedFromAnEarlierRunComesBackAfterLaunch) {
  session->preferences().remember(QuarterTurn::left, ipadUUID);
  session->preferences().setLastDeviceID(ipadUUID);
  std::vector<std::string> statuses;
  session->onChange = [&] { statuses.push_back(state().status); };
  session->startMonitoring();
  run(3);
  EXPECT_EQ(state().status, "270° · Portrait");
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Restoring 270° for iPad…"), statuses.end());
}

TEST_F(RotationSessionTest, QuitWhileRotatedPutsTheIPadBackBeforeShutdownEnds) {
  session->startMonitoring();
  RotationSessionTimer timer(loop, session);
  rotateOnce();
  ASSERT_EQ(state().status, "90° · Portrait");
  const TaskHandle quit = spawn(loop, session->shutdown());
  while (!quit.isDone()) loop.advance(0.01);
  expectNothingRotated({40, 0});
  // Nothing reacts any more.
  const std::string status = state().status;
  world.workspace.post(WorkspaceNotification::willSleep);
  world.workspace.post(WorkspaceNotification::didWake);
  world.displays.disconnect(ipadID);
  run(10);
  EXPECT_EQ(state().status, status);
  EXPECT_EQ(session->runningTaskCount(), 0u);
  EXPECT_EQ(world.workspace.observerCount(), 0u);
}

// A restoration asked for while the retry run's last attempt is still applying is not lost.
TEST_F(RotationSessionTest, ARestorationAskedForDuringTheLastAttemptStillHappens) {
  session->preferences().remember(QuarterTurn::right, ipadUUID);
  world.capture.startFault.error = PlatformError("SC", -3, "No start.");
  int applies = 0;
  session->onChange = [&] { applies += state().status == "Rotating…"; };
  session->startMonitoring();
  ASSERT_TRUE(loop.runUntil([&] { return applies == 4; }, 20));  // the fourth and last attempt is applying
  world.displays.connect({0, "Studio Display", Rect(-30, 0, 30, 20), 1552, 0, 0, false, false, "STUDIO"});
  ASSERT_TRUE(loop.runUntil([&] { return !state().busy; }, 20));
  EXPECT_EQ(state().status, "No start.");
  world.capture.startFault.error.reset();
  run(10);
  EXPECT_EQ(state().status, "90° · Portrait");
}

}  // namespace
