#include <cmath>
#include <string>

#include <dlfcn.h>

#include "host/IcuTextServices.h"
#include "brightness/BrightnessFollower.h"
#include "brightness/BrightnessShadeWindow.h"
#include "host/DynamicLibraryLoader.h"
#include "presentation/WindowFixture.h"

using namespace turnlet;

namespace {

const WindowFrame ipadScreen{1440, -124, 1366, 1024};
constexpr double easeOutAtHalfTime = 0.684643;

class BrightnessTest : public WindowFixture {
 protected:
  const host::IcuTextServices text{"en"};
  std::shared_ptr<BrightnessFollower> follower;
  std::shared_ptr<BrightnessShadeWindow> shade;
  int changes = 0;
  void SetUp() override { dropObjects = [this] { follower.reset(), shade.reset(); }; }
  void follow(double brightness) {
    world.libraries.setBrightness(1, brightness);
    follower = BrightnessFollower::make(loop, world.displays, text, world.windows, world.libraries);
    follower->onChange = [this] { ++changes; };
    follower->setEnabled(true);
  }
};

TEST_F(BrightnessTest, ShadeDarkensTheIPadAlongTheCurve) {
  struct Row {
    double brightness;
    std::optional<double> opacity;  // absent: unavailable
    const char* percent;
  } const rows[] = {
      {0, 1, "0"},        {0.05, 0.886, "5"}, {0.1, 0.828, "10"}, {0.125, 0.8125, "13"},
      {0.25, 0.75, "25"}, {0.5, 0.5, "50"},   {1, 0, "100"},      {-0.0, 1, "0"},
      {1.0001, {}, ""},   {-0.1, {}, ""},     {std::nan(""), {}, ""},      {1e300, {}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.brightness);
    follow(row.brightness);
    EXPECT_EQ(follower->status(), row.opacity ? std::string("Software dimming · Following ") + row.percent + "%"
                                              : "Main display brightness is unavailable");
    const sim::ServerWindow* w = onlyWindow();
    if (row.opacity.value_or(0) > 0) {
      ASSERT_TRUE(w);
      EXPECT_TRUE(w->frame() == ipadScreen && w->properties().level == 1001 && w->properties().ignoresMouseEvents && !w->properties().opaque);
      loop.advance(0.125);
      EXPECT_NEAR(w->alphaValue(), *row.opacity * easeOutAtHalfTime, 1e-5);
      loop.advance(0.125);
      EXPECT_NEAR(w->alphaValue(), *row.opacity, 1e-6);
    } else {
      EXPECT_FALSE(w);
    }
    loop.advance(0.6);  // three more samples of the same value
    EXPECT_EQ(changes, 1);
    follower->setEnabled(false);
    EXPECT_TRUE(follower->status() == "Software dimming · Off" && world.windows.windows().empty() &&
                loop.pendingTimerCount() == 0);
    follower.reset();
    EXPECT_EQ(world.libraries.openLibraries(), 0);
    changes = 0;
  }
  EXPECT_EQ(world.libraries.openModes().front(), 5);  // lazy binding, local symbols
}

TEST_F(BrightnessTest, UnreadableBrightnessClearsByItselfWhenReadingWorksAgain) {
  auto& libraries = world.libraries;
  for (auto* fault : {&libraries.libraryMissing, &libraries.symbolMissing, static_cast<bool*>(nullptr)}) {
    if (fault) *fault = true;
    libraries.failBrightness = fault ? std::nullopt : std::optional(-3);
    follow(0.5);
    EXPECT_EQ(follower->status(), "Main display brightness is unavailable");
    if (fault) *fault = false;
    libraries.failBrightness.reset();
    loop.advance(0.2);  // only a failing call can clear: the library is looked up once
    EXPECT_EQ(follower->status(), fault ? "Main display brightness is unavailable" : "Software dimming · Following 50%");
  }
}

TEST_F(BrightnessTest, FollowsTheIPadOnlyWhileItIsFoundAndNotMain) {
  follow(0.5);
  world.displays.setMain(2);  // the iPad as main display is no iPad to dim
  loop.advance(0.2);
  EXPECT_EQ(follower->status(), "Software dimming · Waiting for Sidecar");
  EXPECT_TRUE(world.windows.windows().empty() && loop.pendingTimerCount() == 0);
  world.displays.setMain(1);
  loop.runUntilIdle();
  EXPECT_TRUE(onlyWindow());
  // An owner that switches following off from its status callback leaves no timer running.
  follower->setEnabled(false);
  follower->onChange = [this] { follower->setEnabled(false); };
  follower->setEnabled(true);
  EXPECT_FALSE(follower->isEnabled() || loop.pendingTimerCount() > 0);
}

TEST_F(BrightnessTest, EnablingTwiceMakesOneObserverAndOneTimer) {
  int searches = 0, reads = 0, main = 1;
  follower = BrightnessFollower::make(
      loop, world.displays,
      {[&](DisplayID) { return ++reads, std::optional(-0.0); }, [&] { return DisplayID(main); },
       [&](std::optional<DisplayID>) { return ++searches, std::optional(BrightnessFollower::Destination{2, ipadScreen}); },
       [&] { return std::static_pointer_cast<BrightnessShade>(BrightnessShadeWindow::make(world.windows)); }});
  follower->setEnabled(true);
  follower->setEnabled(true);
  EXPECT_EQ(follower->status(), "Software dimming · Following 0%");
  world.displays.setBounds(2, Rect(1440, 0, 1366, 1024));
  loop.advance(0.2);
  EXPECT_TRUE(searches == 2 && reads == 3 && onlyWindow());
  main = 2;
  loop.advance(0.2);
  EXPECT_TRUE(follower->status() == "Software dimming · Keep your Mac as main display" && !onlyWindow());
}

TEST_F(BrightnessTest, StaleFadeCompletionsDoNothing) {
  shade = BrightnessShadeWindow::make(world.windows);
  shade->show(ipadScreen, 0.4);
  loop.advance(0.1);
  shade->show(ipadScreen, 0);  // the first fade's completion now belongs to an older transition
  loop.runUntilIdle();
  EXPECT_TRUE(onlyWindow() && onlyWindow()->isVisible());
  loop.advance(0.25);
  EXPECT_FALSE(onlyWindow()->isVisible());
  shade->show(ipadScreen, 0);
  EXPECT_EQ(world.windows.animationsStarted(), 2);  // an unchanged opacity starts nothing
  shade->show(ipadScreen, 0.5);
  loop.advance(0.3);
  shade->show(ipadScreen, 0);
  shade->close();  // during the fade-out: its completion finds the shade gone
  shade.reset();
  loop.advance(1);
}

TEST(DynamicLibraryLoader, MapsThePlatformModeAndClosesOnDestruction) {
  using host::DynamicLibraryLoader;
  EXPECT_EQ(DynamicLibraryLoader::hostMode(5), RTLD_LAZY | RTLD_LOCAL);
  EXPECT_EQ(DynamicLibraryLoader::hostMode(libraryLoadNow | libraryLoadGlobal), RTLD_NOW | RTLD_GLOBAL);
  for (int refused : {0, 3, 4, 0x1 | 0x10}) EXPECT_EQ(DynamicLibraryLoader::hostMode(refused), std::nullopt);
  DynamicLibraryLoader loader;
  EXPECT_FALSE(loader.open("/nonexistent/DisplayServices", 5));
  auto library = loader.open("libm.so.6", 5);
  ASSERT_TRUE(library);
  EXPECT_TRUE(library->displayFloatFunction("cos") && !library->displayFloatFunction("DisplayServicesGetBrightness"));
}

}  // namespace
