#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "session/RotationSessionTimer.h"
#include "sim/gpu/SimGpuView.h"
#include "session/SessionFixture.h"

using namespace turnlet;

namespace {

const char* const noImage = "The rotated desktop did not produce an image. The Sidecar layout has been restored.";
const char* const notActivated = "macOS did not activate the requested rotated display size.";

class RotationSessionTest : public ::testing::Test, public SessionFixture {
 protected:
  void rotateOnce() { press(session->rotate()), run(2); }
};

TEST_F(RotationSessionTest, FourPressesTurnTheIPadRoundWithOneVirtualDisplayResized) {
  const std::pair<const char*, Size> rows[] = {{"90° · Portrait", {12, 16}}, {"180° · Landscape", {16, 12}},
                                               {"270° · Portrait", {12, 16}}};
  std::optional<DisplayID> first;
  for (const auto& [status, size] : rows) {
    SCOPED_TRACE(status);
    rotateOnce();
    EXPECT_EQ(state().status, status);
    const DisplayID id = state().virtualDisplay->displayID();
    EXPECT_EQ(id, first.value_or(id));  // resized, not recreated
    first = id;
    EXPECT_EQ(world.displays.find(id)->bounds.size, size);
    const auto settings = world.virtualDisplayClasses.settingsOf(id);  // HiDPI, twice the size, one mode at 60 Hz
    EXPECT_TRUE(settings && settings->hiDPI &&
                settings->modes == (std::vector<sim::VirtualDisplayClasses::Mode>{{size.width, size.height, 60}}));
    EXPECT_EQ(world.capture.runningStreams() + world.windows.windows().size(), 2u);
    EXPECT_EQ(ipadBounds().origin, (Point{-15, -11}));  // 1 point over the main display's corner
  }
  rotateOnce();
  EXPECT_EQ(state().status, "0° · Rotation off");
  expectNothingRotated({40, 0});
  const StreamConfiguration& c = world.capture.configurations().front();
  EXPECT_TRUE(c.streamName == "Turnlet" && c.minimumFrameInterval == (MediaTime{1, 60}) && c.queueDepth == 4);
}

TEST(RotationSessionFailures, EveryFailedApplyShowsItsMessageAndLeavesNothingBehind) {
  constexpr DisplayID ipad = SessionFixture::ipadID;
  const PlatformError error("SC", -1, "Failed.");
  const std::pair<std::function<void(SessionFixture&)>, std::string> rows[] = {
      {[](auto& f) { f.world.permissions.screenCapture.granted = false; },
       "Allow Turnlet in System Settings → Privacy & Security → Screen & System Audio Recording, then reopen this app."},
      {[](auto& f) { f.world.displays.disconnect(ipad); },
       "Connect your iPad using Sidecar, then press Rotate. If it has a custom name, choose it under Display in the "
       "menu bar."},
      {[](auto& f) { f.world.virtualDisplayClasses.raiseAt("CGVirtualDisplay applySettings:", "NSGenericException", "boom"); },
       "The private virtual display API raised an exception: boom"},
      {[](auto& f) { f.world.displays.setBounds(ipad, Rect(40, 0, 3e9, 12)); }, "macOS could not create the rotated desktop."},
      // Shown a little off the asked size: under 2 points is accepted, 2 wider or lower is not.
      {[](auto& f) { f.world.virtualDisplayClasses.shownSizeDifference = {2, 0}; }, notActivated},
      {[](auto& f) { f.world.virtualDisplayClasses.shownSizeDifference = {0, -2}; }, notActivated},
      // The put-back fails too, but the iPad never left its place: nothing failed to be restored.
      {[](auto& f) { f.world.displays.failComplete = 1000; }, "macOS rejected the display layout (1000)."},
      {[](auto& f) { f.world.capture.fetchesBeforeListed = 1000; }, "macOS did not expose the rotated desktop to ScreenCaptureKit."},
      {[&](auto& f) { f.world.capture.fetchFault.error = error; }, "Failed."},
      {[&](auto& f) { f.world.gpu.libraryError = error; }, "Failed."},
      {[](auto& f) { f.session->preferences().setPreferredDeviceID("IPAD-1"), f.world.displays.setHasScreen(ipad, false); },
       "The Sidecar display is no longer connected."},
      {[&](auto& f) { f.world.capture.addOutputError = error; }, "Failed."},
      {[&](auto& f) { f.world.capture.startFault.error = error; }, "Failed."},
      {[](auto& f) { f.world.capture.startFault.neverCompletes = true; }, noImage},
      {[](auto& f) { f.world.capture.deliversFrames = false; }, noImage},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    SessionFixture f;
    rows[i].first(f);
    f.press(f.session->rotate());
    f.run(12);
    EXPECT_EQ(f.state().status, rows[i].second);
    f.expectNothingRotated({40, 0});
    EXPECT_FALSE(f.state().needsSuspension || f.session->preferences().rotation("IPAD-1"));  // nothing remembered
  }
}

TEST_F(RotationSessionTest, InterruptionsDuringAnApplyAndAfterIt) {
  // Screens sleep while the apply waits for its first frame. The virtual display shows 1.5 points
  // off the asked size throughout, which is near enough.
  world.virtualDisplayClasses.shownSizeDifference = {1.5, -1.5};
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
  auto earlierFailure = state().renderer->onFailure;
  run(2);
  EXPECT_FALSE(state().recovery->isRunning() || state().generation != generation);

  // A render failure from an earlier apply's renderer does nothing.
  rotateOnce();
  ASSERT_EQ(state().status, "180° · Landscape");
  const auto before = state().generation;
  earlierFailure(PlatformError("MTL", 5, "Device lost."));
  run(2);
  EXPECT_EQ(state().generation, before);

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

// A still turned desktop costs nothing: the capture sends idle frames, which draw nothing and
// count no frame. A moving pointer is one new frame, drawn once and counted.
TEST_F(RotationSessionTest, AStillDesktopSendsIdleFramesThatDrawNothing) {
  rotateOnce();
  run(1);
  const auto& view = dynamic_cast<const sim::SimGpuView&>(*state().renderer->view());
  const auto frames = world.capture.framesDelivered(), idle = world.capture.idleFramesDelivered();
  const auto shown = view.shownCount();
  const int commits = world.gpu.commandBuffersCommitted();
  for (int moves : {0, 1}) {
    if (moves) world.inputEvents.mouseLocation = Point{45, 5};  // over the turned desktop
    session->updatePerformance();
    run(moves ? 1 : 2);
    session->updatePerformance();
    EXPECT_EQ(std::tuple(world.capture.framesDelivered(), view.shownCount(), world.gpu.commandBuffersCommitted()),
              std::tuple(frames + moves, shown + moves, commits + moves));
    EXPECT_TRUE(state().performance->captureFPS == moves && state().performance->updatedFPS == moves);
  }
  EXPECT_GE(world.capture.idleFramesDelivered() - idle, 119u);
}

}  // namespace
