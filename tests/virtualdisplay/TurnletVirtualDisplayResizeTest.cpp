#include <functional>
#include <string>
#include <vector>

#include "virtualdisplay/VirtualDisplayFixture.h"

namespace turnlet {
namespace {

using Classes = sim::VirtualDisplayClasses;

const char* const kResizeDimensions =
    "The requested HiDPI dimensions are invalid or exceed the virtual display's configured pixel bounds.";
const char* const kCannotResize = "The private virtual display API cannot resize this display on this macOS version.";

TEST_F(VirtualDisplayTest, TurnsToTheOtherOrientationWithoutRecreatingTheDisplay) {
  auto display = createPortrait();
  ASSERT_TRUE(display);
  const DisplayID id = display->displayID();
  const ObjectRef privateDisplay = display->privateDisplay();
  ASSERT_TRUE(ownDisplay());
  const int notified = world.displays.notificationCount();
  classes.clearCalls();

  EXPECT_TRUE(display->resize(2732, 2048, 1366, 1024, &error));
  EXPECT_FALSE(error);
  EXPECT_EQ(display->displayID(), id);
  EXPECT_EQ(display->privateDisplay(), privateDisplay);
  EXPECT_EQ(classes.liveDisplayObjects(), 1);
  const std::vector<std::string> expected = {
      "lookUpClass CGVirtualDisplayMode",
      "lookUpClass CGVirtualDisplaySettings",
      "CGVirtualDisplayMode instancesRespondToSelector: initWithWidth:height:refreshRate:",
      "CGVirtualDisplaySettings instancesRespondToSelector: setModes:",
      "CGVirtualDisplaySettings instancesRespondToSelector: setHiDPI:",
      "CGVirtualDisplay respondsToSelector: applySettings:",
      "CGVirtualDisplayMode initWithWidth:height:refreshRate:",
      "CGVirtualDisplaySettings alloc init",
      "CGVirtualDisplaySettings setValue:forKey: modes",
      "CGVirtualDisplaySettings setValue:forKey: hiDPI",
      "CGVirtualDisplay applySettings:",
  };
  EXPECT_EQ(classes.calls(), expected);

  // The mode switch takes a moment; until then the system still shows the old size.
  loop.advance(0.29);
  EXPECT_EQ(ownDisplay()->bounds, Rect(2806, 0, 1024, 1366));
  EXPECT_EQ(world.displays.notificationCount(), notified);
  loop.advance(0.02);
  auto shown = ownDisplay();
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->id, id);
  EXPECT_EQ(shown->bounds, Rect(2806, 0, 1366, 1024));
  EXPECT_EQ(world.displays.currentModePixelSize(id), (PixelSize{2732, 2048}));
  EXPECT_EQ(world.displays.notificationCount(), notified + 1);

  // And back, still the same display.
  EXPECT_TRUE(display->resize(2048, 2732, 1024, 1366));
  loop.advance(1);
  EXPECT_EQ(ownDisplay()->bounds, Rect(2806, 0, 1024, 1366));
  EXPECT_EQ(display->displayID(), id);
}

TEST_F(VirtualDisplayTest, ModeSwitchDelayIsConfigurable) {
  classes.modeSwitchDelaySeconds = 2;
  auto display = createPortrait();
  ASSERT_TRUE(display);
  ASSERT_TRUE(display->resize(1600, 1200, 800, 600));
  loop.advance(1.9);
  EXPECT_EQ(ownDisplay()->bounds.size, (Size{1024, 1366}));
  loop.advance(0.2);
  EXPECT_EQ(ownDisplay()->bounds.size, (Size{800, 600}));
}

// One failing step of resizing per row, on a display created at 2048×2732 (logical 1024×1366).
struct ResizeFailure {
  std::string name;
  std::function<void(Classes&)> fault;
  std::int64_t code;
  std::string sentence;
  std::array<std::uint64_t, 4> sizes = {2732, 2048, 1366, 1024};
};

std::vector<ResizeFailure> resizeFailures() {
  auto none = [](Classes&) {};
  const std::uint64_t twoTo32 = std::uint64_t{1} << 32;
  std::vector<ResizeFailure> rows = {
      {"wider than the creation bounds", none, 2, kResizeDimensions, {2800, 2100, 1400, 1050}},
      {"taller than the creation bounds", none, 2, kResizeDimensions, {2048, 2734, 1024, 1367}},
      {"pixels not exactly twice", none, 2, kResizeDimensions, {2732, 2049, 1366, 1024}},
      {"zero pixel width", none, 2, kResizeDimensions, {0, 2048, 1366, 1024}},
      {"zero pixel height", none, 2, kResizeDimensions, {2732, 0, 1366, 1024}},
      {"zero logical width", none, 2, kResizeDimensions, {2732, 2048, 0, 1024}},
      {"zero logical height", none, 2, kResizeDimensions, {2732, 2048, 1366, 0}},
      {"2^32 pixels", none, 2, kResizeDimensions, {twoTo32, 2048, twoTo32 / 2, 1024}},
      // Twice 2^63 + 1 wraps to 2 in 64-bit arithmetic.
      {"doubling would wrap", none, 2, kResizeDimensions, {2, 2, (std::uint64_t{1} << 63) + 1, 1}},
      {"mode class gone", [](Classes& c) { c.removeClass("CGVirtualDisplayMode"); }, 1, kCannotResize},
      {"settings class gone", [](Classes& c) { c.removeClass("CGVirtualDisplaySettings"); }, 1, kCannotResize},
      {"mode initialiser gone",
       [](Classes& c) { c.removeSelector("CGVirtualDisplayMode", "initWithWidth:height:refreshRate:"); }, 1,
       kCannotResize},
      {"setModes: gone", [](Classes& c) { c.removeSelector("CGVirtualDisplaySettings", "setModes:"); }, 1,
       kCannotResize},
      {"setHiDPI: gone", [](Classes& c) { c.removeSelector("CGVirtualDisplaySettings", "setHiDPI:"); }, 1,
       kCannotResize},
      {"applySettings: gone", [](Classes& c) { c.removeSelector("CGVirtualDisplay", "applySettings:"); }, 1,
       kCannotResize},
      {"applySettings: refuses", [](Classes& c) { c.applySettingsReturnsFalse = true; }, 4,
       "CoreGraphics could not apply the requested virtual display size."},
      {"raises in applySettings:",
       [](Classes& c) { c.raiseAt("CGVirtualDisplay applySettings:", "NSInvalidArgumentException", "bad mode"); }, 4,
       "The private virtual display API raised an exception: bad mode"},
      {"raises without a reason while the settings are built",
       [](Classes& c) { c.raiseAt("CGVirtualDisplaySettings setValue:forKey: modes", "NSRangeException", {}); }, 4,
       "The private virtual display API raised an exception: NSRangeException"},
  };
  return rows;
}

TEST(TurnletVirtualDisplayResize, EachFailingStepReportsItsErrorAndKeepsTheDisplay) {
  for (const ResizeFailure& row : resizeFailures()) {
    SCOPED_TRACE(row.name);
    sim::ManualLoop loop;
    sim::World world(loop);
    auto display = TurnletVirtualDisplay::create(world.virtualDisplayClasses, 2048, 2732, 1024, 1366);
    ASSERT_TRUE(display);
    const DisplayID id = display->displayID();
    row.fault(world.virtualDisplayClasses);
    const auto [pw, ph, lw, lh] = row.sizes;

    std::optional<PlatformError> error;
    EXPECT_FALSE(display->resize(pw, ph, lw, lh, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "Turnlet.VirtualDisplay");
    EXPECT_EQ(error->code(), row.code);
    EXPECT_EQ(error->localizedDescription(), row.sentence);
    EXPECT_FALSE(display->resize(pw, ph, lw, lh));  // silently, without an out-parameter

    loop.advance(1);
    EXPECT_EQ(display->displayID(), id);
    EXPECT_EQ(world.displays.bounds(id), Rect(2806, 0, 1024, 1366));
  }
}

TEST_F(VirtualDisplayTest, DroppingTheWrapperRemovesTheDisplay) {
  auto display = createPortrait();
  ASSERT_TRUE(display);
  const DisplayID id = display->displayID();
  ASSERT_TRUE(display->resize(2732, 2048, 1366, 1024));
  const int notified = (loop.runUntilIdle(), world.displays.notificationCount());

  // Dropped with a mode switch still pending: the switch must not bring anything back.
  display.reset();
  loop.advance(1);
  EXPECT_FALSE(world.displays.isOnline(id));
  EXPECT_FALSE(ownDisplay());
  EXPECT_EQ(world.displays.notificationCount(), notified + 1);
  EXPECT_EQ(classes.liveDisplayObjects(), 0);
  EXPECT_EQ(loop.pendingTimerCount(), 0u);

  // A later display gets a new id, not the old one.
  auto next = createPortrait();
  ASSERT_TRUE(next);
  EXPECT_NE(next->displayID(), id);
}

TEST(TurnletVirtualDisplayLifetime, WrapperMayOutliveTheSimulatedSystem) {
  sim::ManualLoop loop;
  std::shared_ptr<TurnletVirtualDisplay> display;
  {
    sim::World world(loop);
    display = TurnletVirtualDisplay::create(world.virtualDisplayClasses, 200, 100, 100, 50);
    ASSERT_TRUE(display);
    ASSERT_TRUE(display->resize(100, 200, 50, 100));
  }
  display.reset();
  loop.advance(1);
}

}  // namespace
}  // namespace turnlet
