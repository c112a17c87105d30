#include <gtest/gtest.h>

#include <functional>

#include "session/SessionFixture.h"

using namespace turnlet;

namespace {

using Picture = std::shared_ptr<sim::MemoryPixelBuffer>;

// A mouse event at a global point, posted as the event poster does.
void post(sim::World& world, MouseEventType type, Point at, std::int32_t wheel = 0) {
  auto event = wheel ? world.inputEvents.createScrollWheelEvent2(nullptr, ScrollEventUnit::pixel, 1, wheel, 0, 0)
                     : world.inputEvents.mouseEvent(type, {}, 0, 0, 7, 1, 1);
  event->setLocation(at);
  world.inputEvents.postToPid(700, *event);
}

// The small world with the application "Editor" (pid 700) showing these windows.
sim::WorldDescription editor(std::vector<sim::SimAppWindow> windows) {
  auto description = SessionFixture::smallWorld();
  description.applications = {{700, "Editor", std::move(windows)}};
  return description;
}

// The iPad shows the virtual display's picture turned, pixel for pixel, once a frame has been
// shown and the fade is over: the capture, the renderer and the view lose nothing on the way. The
// virtual display wears the wallpaper of the iPad it stands in for, at every turn, and a display
// keeps its wallpaper when it comes back under a new id.
TEST(Compositor, TheIPadShowsTheVirtualDisplayTurnedExactly) {
  SessionFixture f(editor({{7, "Ab1", Rect(41, 1, 9, 10), 1, 0, 4}}));
  post(f.world, MouseEventType::leftMouseDown, {44, 8});
  post(f.world, MouseEventType::mouseMoved, {47, 3});
  const std::uint32_t wallpaper = f.world.compositor.draw(SessionFixture::ipadID)->pixel(0, 0);
  EXPECT_NE(f.world.compositor.draw(1)->pixel(0, 0), wallpaper);
  using Turn = std::function<std::pair<std::size_t, std::size_t>(std::size_t, std::size_t, std::size_t, std::size_t)>;
  const std::pair<const char*, Turn> rows[] = {
      {"90° · Portrait", [](auto x, auto y, auto sw, auto) { return std::pair{sw - 1 - y, x}; }},
      {"180° · Landscape", [](auto x, auto y, auto sw, auto sh) { return std::pair{sw - 1 - x, sh - 1 - y}; }},
      {"270° · Portrait", [](auto x, auto y, auto, auto sh) { return std::pair{y, sh - 1 - x}; }}};
  for (const auto& [status, source] : rows) {
    SCOPED_TRACE(status);
    f.press(f.session->rotate()), f.run(2);
    ASSERT_EQ(f.state().status, status);
    const Picture desktop = f.world.compositor.draw(f.state().virtualDisplay->displayID());
    const Picture ipad = f.world.compositor.draw(SessionFixture::ipadID);
    ASSERT_EQ(ipad->width() * ipad->height(), desktop->width() * desktop->height());
    std::size_t wrong = 0;
    for (std::size_t y = 0; y < ipad->height(); ++y)
      for (std::size_t x = 0; x < ipad->width(); ++x) {
        const auto [sx, sy] = source(x, y, desktop->width(), desktop->height());
        wrong += ipad->pixel(x, y) != desktop->pixel(sx, sy);
      }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(desktop->pixel(0, 0), wallpaper);
  }
  SessionFixture other;
  other.world.displays.disconnect(SessionFixture::ipadID);
  const DisplayID back = other.world.displays.reconnect(SessionFixture::ipadID);
  EXPECT_EQ(other.world.compositor.draw(back)->pixel(0, 0), wallpaper);
}

// Windows of the program by level, then order, blended by their alpha and background alpha.
TEST(Compositor, ProgramWindowsStackByLevelWithTheirAlpha) {
  struct Row {
    const char* name;
    WindowLevel lowerLevel, upperLevel;
    double upperAlpha, upperBackgroundAlpha;
    std::uint32_t expected;
  };
  const Row rows[] = {{"opaque upper window", 0, 3, 1, 1, sim::bgra(255, 0, 0)},
                      {"higher level wins over later order", 3, 0, 1, 1, sim::bgra(0, 0, 255)},
                      {"mostly transparent window", 0, 3, 0.25, 1, sim::bgra(63, 0, 191)},
                      {"mostly transparent background", 0, 3, 1, 0.25, sim::bgra(63, 0, 191)},
                      {"invisible window", 0, 3, 0, 1, sim::bgra(0, 0, 255)}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SessionFixture f;
    // The main display is 40 × 30 points: y = 20 in the window system's space is 10 from its top.
    auto lower = f.world.windows.makeWindow({0, 0, 20, 30}, 0, BackingStoreType::buffered, false);
    auto upper = f.world.windows.makeWindow({10, 0, 30, 30}, 0, BackingStoreType::buffered, false);
    lower->setBackgroundColor({1, 0, 0, 1}), lower->setLevel(row.lowerLevel), lower->orderFrontRegardless();
    upper->setBackgroundColor({0, 0, 1, row.upperBackgroundAlpha}), upper->setLevel(row.upperLevel);
    upper->setAlphaValue(row.upperAlpha), upper->orderFrontRegardless();
    const Picture p = f.world.compositor.draw(1);
    EXPECT_EQ(p->pixel(30, 20), row.expected);                 // both windows
    EXPECT_EQ(p->pixel(10, 20), sim::bgra(0, 0, 255));         // only the lower one
  }
}

// What an application window shows changes with the events that land on it, and only then; the
// pointer is drawn where the last mouse event was.
TEST(Compositor, ClicksScrollingAndThePointerShowOnTheDesktop) {
  struct Row {
    const char* name;
    MouseEventType type;
    Point at;
    std::int32_t wheel;
    bool changesWindow;
  };
  const Row rows[] = {{"click on the front window", MouseEventType::leftMouseDown, {12, 14}, 0, true},
                      {"scroll on the front window", MouseEventType::mouseMoved, {12, 14}, 3, true},
                      {"click beside every window", MouseEventType::leftMouseDown, {36, 26}, 0, false},
                      {"release on the window", MouseEventType::leftMouseUp, {12, 14}, 0, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SessionFixture f(editor({{7, "Doc", Rect(2, 2, 24, 20), 1, 0, 6}, {8, "Back", Rect(0, 0, 30, 25)}}));
    post(f.world, MouseEventType::mouseMoved, row.at);
    const Picture before = f.world.compositor.draw(1);
    post(f.world, row.type, row.at, row.wheel);
    const Picture after = f.world.compositor.draw(1);
    const auto& back = f.world.windows.applications[0].windows[1];
    EXPECT_EQ(back.clicks + back.scrolledY, 0);
    bool changed = false;
    for (std::size_t y = 4; y < 44; ++y)
      for (std::size_t x = 4; x < 52; ++x) changed |= before->pixel(x, y) != after->pixel(x, y);
    EXPECT_EQ(changed, row.changesWindow);
    EXPECT_EQ(after->pixel(std::size_t(row.at.x * 2), std::size_t(row.at.y * 2)), sim::bgra(0, 0, 0));  // the tip
  }
}

// The main display's picture follows its brightness; every display is dark while the screens or
// the system sleep, and lit again once they wake.
TEST(Compositor, TheMainDisplayDimsAndEveryDisplaySleeps) {
  struct Row {
    const char* name;
    double brightness;
    std::vector<WorkspaceNotification> posted;
    double mainLight, ipadLight;  // the share of the lit picture left
  };
  using enum WorkspaceNotification;
  const Row rows[] = {{"full brightness", 1, {}, 1, 1},
                      {"half brightness dims only the main display", 0.5, {}, 0.5, 1},
                      {"screens asleep", 1, {screensDidSleep}, 0, 0},
                      {"system asleep", 0.5, {willSleep}, 0, 0},
                      {"screens woken", 1, {screensDidSleep, screensDidWake}, 1, 1},
                      {"system woken, screens still asleep", 1, {screensDidSleep, willSleep, didWake}, 0, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SessionFixture f;
    const Picture lit = f.world.compositor.draw(1), litIPad = f.world.compositor.draw(SessionFixture::ipadID);
    f.world.libraries.setBrightness(1, row.brightness);
    for (auto name : row.posted) f.world.workspace.post(name);
    const Picture main = f.world.compositor.draw(1), ipad = f.world.compositor.draw(SessionFixture::ipadID);
    const auto green = [](std::uint32_t p) { return double((p >> 8) & 0xFF); };
    EXPECT_NEAR(green(main->pixel(5, 50)), green(lit->pixel(5, 50)) * row.mainLight, 1.5);
    EXPECT_NEAR(green(ipad->pixel(5, 20)), green(litIPad->pixel(5, 20)) * row.ipadLight, 1.5);
  }
}

// A button shows the left button held on it, counts a click when it comes up on it again, and a
// click brings its window to the front, where the next click lands.
TEST(Compositor, AButtonShowsItsPressAndAClickRaisesItsWindow) {
  using enum MouseEventType;
  struct Row {
    const char* name;
    std::vector<std::pair<MouseEventType, Point>> events;
    bool held;
    int buttonClicks;
    WindowNumber front;
  };
  const Row rows[] = {{"held on the button", {{leftMouseDown, {8, 12}}}, true, 0, 7},
                      {"clicked on the button", {{leftMouseDown, {8, 12}}, {leftMouseUp, {9, 12}}}, false, 1, 7},
                      {"released beside the button", {{leftMouseDown, {8, 12}}, {leftMouseUp, {20, 12}}}, false, 0, 7},
                      {"the window behind clicked", {{leftMouseDown, {28, 23}}, {leftMouseUp, {28, 23}}}, false, 0, 8},
                      {"then a click where both are",
                       {{leftMouseDown, {28, 23}}, {leftMouseUp, {28, 23}}, {leftMouseDown, {8, 12}}, {leftMouseUp, {8, 12}}},
                       false, 0, 8}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SessionFixture f(editor({{7, "Doc", Rect(2, 2, 24, 20), 1, 0, 6, true, true, {{"AXButton", Rect(2, 8, 12, 6)}}},
                             {8, "Back", Rect(0, 0, 30, 25)}}));
    const Picture before = f.world.compositor.draw(1);
    const auto count = f.world.compositor.changeCount(1);
    for (const auto& [type, at] : row.events) post(f.world, type, at);
    const auto& button = f.world.windows.appWindow(7)->elements[0];
    EXPECT_EQ(button.held, row.held);
    EXPECT_EQ(button.clicks, row.buttonClicks);
    EXPECT_EQ(f.world.windows.appWindowsFrontToBack().front().second->number, row.front);
    EXPECT_NE(f.world.compositor.changeCount(1), count);
    // The button's face, away from its label: dark while held.
    const std::uint32_t face = f.world.compositor.draw(1)->pixel(29, 21);
    EXPECT_EQ(face != before->pixel(29, 21), row.held || row.front == 8);
  }
}

// The change count of a display moves with whatever is drawn on it, and only with that: a change
// on one display leaves the other's count alone, and a still desktop keeps its count.
TEST(Compositor, TheChangeCountFollowsWhatIsDrawnOnEachDisplay) {
  using Change = std::function<void(SessionFixture&, PlatformWindow&)>;
  struct Row {
    const char* name;
    Change change;
    bool main, ipad;  // whose count moves
    bool animated = false;  // the background animated before the change
    bool local = false;     // the iPad changes in a part of it only
  };
  const Row rows[] = {
      {"nothing", [](auto&, auto&) {}, false, false},
      {"a click in a window", [](auto& f, auto&) { ++f.world.windows.appWindow(7)->clicks; }, false, true, false, true},
      {"scrolling", [](auto& f, auto&) { f.world.windows.appWindow(7)->scrolledY += 3; }, false, true},
      {"a window's alpha", [](auto& f, auto&) { f.world.windows.appWindow(7)->alpha = 0.5; }, false, true},
      {"a window moved across", [](auto& f, auto&) { f.world.windows.appWindow(7)->bounds.origin = {30, 1}; }, true, true},
      {"a window closed", [](auto& f, auto&) { f.world.windows.closeAppWindow(7); }, false, true},
      {"the pointer on the iPad", [](auto& f, auto&) { f.world.inputEvents.mouseLocation = Point{52, 6}; }, false, true,
       false, true},
      {"the pointer over to the Mac", [](auto& f, auto&) { f.world.inputEvents.mouseLocation = Point{5, 5}; }, true, true},
      {"the iPad resized", [](auto& f, auto&) { f.world.displays.setBounds(SessionFixture::ipadID, Rect(40, 0, 20, 12)); },
       false, true},
      {"the main display dimmed", [](auto& f, auto&) { f.world.libraries.setBrightness(1, 0.5); }, true, false},
      {"the screens asleep", [](auto& f, auto&) { f.world.workspace.post(WorkspaceNotification::screensDidSleep); },
       true, true},
      {"a program window's alpha", [](auto&, auto& window) { window.setAlphaValue(0.5); }, false, true},
      {"the background's animation started", [](auto& f, auto&) { f.world.compositor.animateBackground = true; }, true,
       true},
      {"the background's animation stopped", [](auto& f, auto&) { f.world.compositor.animateBackground = false; }, true,
       true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SessionFixture f(editor({{7, "Ab1", Rect(41, 1, 9, 10), 1, 0, 4}}));
    f.world.inputEvents.mouseLocation = Point{50, 5};
    // A window of the program's own over the iPad (window frames are y up from the main display's bottom).
    auto window = f.world.windows.makeWindow({40, 18, 16, 12}, windowStyleBorderless, BackingStoreType::buffered, false);
    window->orderFrontRegardless();
    auto& compositor = f.world.compositor;
    compositor.animateBackground = row.animated;
    // A capture frame, drawn and back in the pool before the counts are read (reading them notes
    // an animated background's change).
    const auto ipadSize = *f.world.displays.currentModePixelSize(SessionFixture::ipadID);
    const auto* pooled = compositor.captureFrame(SessionFixture::ipadID, ipadSize.width, ipadSize.height).get();
    const auto main = compositor.changeCount(1), ipad = compositor.changeCount(SessionFixture::ipadID);
    const auto halved = [&](DisplayID display) {  // as the simulator window takes a picture to show it small
      const auto size = f.world.displays.currentModePixelSize(display);
      auto half = sim::MemoryPixelBuffer::make(size->width / 2, size->height / 2);
      EXPECT_TRUE(compositor.drawInto(display, *half));
      return half;
    };
    const Picture before[] = {compositor.draw(1), compositor.draw(SessionFixture::ipadID), halved(1),
                              halved(SessionFixture::ipadID)};
    if (!row.animated) {
      EXPECT_EQ(compositor.changeCount(1), main);
    }
    row.change(f, *window);
    EXPECT_EQ(compositor.changeCount(1) != main, row.main);
    EXPECT_EQ(compositor.changeCount(SessionFixture::ipadID) != ipad, row.ipad);
    // Drawn again only where the changes were, each picture is the one drawn afresh.
    const auto area = [](sim::PixelRegion r) { return r.empty() ? 0 : (r.x1 - r.x0) * (r.y1 - r.y0); };
    const sim::PixelRegion where = compositor.changedSince(SessionFixture::ipadID, ipad);
    EXPECT_EQ(area(where) > 0, row.ipad);
    if (row.local) {
      EXPECT_LT(area(where), before[1]->width() * before[1]->height());
    }
    if (compositor.animateBackground) continue;  // every picture differs
    const auto wrongPixels = [&](DisplayID display, const Picture& picture) {  // against one drawn afresh
      const Picture afresh = sim::MemoryPixelBuffer::make(picture->width(), picture->height());
      EXPECT_TRUE(compositor.drawInto(display, *afresh));
      int wrong = 0;
      for (std::size_t y = 0; y < afresh->height(); ++y)
        for (std::size_t x = 0; x < afresh->width(); ++x) wrong += picture->pixel(x, y) != afresh->pixel(x, y);
      return wrong;
    };
    // The capture's frame, back from the pool, is drawn again only where the changes were.
    const Picture frame = compositor.captureFrame(SessionFixture::ipadID, ipadSize.width, ipadSize.height);
    if (f.world.displays.currentModePixelSize(SessionFixture::ipadID) == ipadSize) {
      EXPECT_EQ(frame.get(), pooled);
      EXPECT_EQ(wrongPixels(SessionFixture::ipadID, frame), 0) << "capture";
    }
    // So are pictures kept up to date, at their size or halved.
    for (const auto& [display, since, picture] :
         {std::tuple{DisplayID(1), main, before[0]}, std::tuple{SessionFixture::ipadID, ipad, before[1]},
          std::tuple{DisplayID(1), main, before[2]}, std::tuple{SessionFixture::ipadID, ipad, before[3]}}) {
      std::optional<std::uint64_t> shows = since;
      if (!compositor.drawChanges(display, *picture, shows)) continue;
      EXPECT_EQ(wrongPixels(display, picture), 0) << display;
    }
  }
}

// Shown at exactly half its size, a picture takes the mean of each 2 × 2 block (within a level),
// wherever its rectangle starts; a display is drawn at its size halved, and at no other.
TEST(Compositor, HalfSizePicturesTakeTheMeanOfEachBlock) {
  SessionFixture f(editor({}));
  auto from = sim::MemoryPixelBuffer::make(18, 2);
  for (std::uint32_t x = 0; x < 18; ++x)
    for (std::uint32_t y = 0; y < 2; ++y) from->setPixel(x, y, 0xFF000000u | (x * 13 + y * 7) << 16 | (200 - x * 11) << 8 | y * 255);
  for (long left : {0L, -1L, 2L}) {
    SCOPED_TRACE(left);
    auto to = sim::MemoryPixelBuffer::make(9, 1);
    f.world.compositor.blit(*from, *to, left, 0, left + 9, 1);
    int wrong = 0;
    for (long x = std::max(left, 0L); x < std::min(left + 9, 9L); ++x)
      for (int shift = 0; shift < 24; shift += 8) {
        const auto channel = [&](long sx, long sy) { return double((from->pixel(sx, sy) >> shift) & 255); };
        const long sx = 2 * (x - left);
        const double mean = (channel(sx, 0) + channel(sx + 1, 0) + channel(sx, 1) + channel(sx + 1, 1)) / 4;
        wrong += std::abs(double((to->pixel(x, 0) >> shift) & 255) - mean) > 1;
      }
    EXPECT_EQ(wrong, 0);
  }
  const auto size = *f.world.displays.currentModePixelSize(1);
  EXPECT_TRUE(f.world.compositor.drawInto(1, *sim::MemoryPixelBuffer::make(size.width / 2, size.height / 2)));
  EXPECT_FALSE(f.world.compositor.drawInto(1, *sim::MemoryPixelBuffer::make(size.width / 3, size.height / 3)));
  EXPECT_FALSE(f.world.compositor.drawInto(1, *sim::MemoryPixelBuffer::make(size.width / 2, size.height)));
}

}  // namespace
