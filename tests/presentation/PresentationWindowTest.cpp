#include <cstdint>
#include <string>
#include <vector>

#include "display/AppFailure.h"
#include "presentation/PresentationWindow.h"
#include "presentation/WindowFixture.h"

using namespace turnlet;

namespace {

// A touch input whose window motions end after motionSeconds; logs when its task is asked for.
struct FakeTouch : TouchInputControl {
  FakeTouch(MainLoop& loop, int number, double motionSeconds, std::vector<std::pair<int, double>>& log)
      : loop(loop), number(number), log(log), motion(spawn(loop, [](double s) -> Task<void> { co_await sleep(s); }(motionSeconds))) {}
  void stop() override { ++stops; }
  std::optional<TaskHandle> motionStopTask() const override {
    log.emplace_back(number, loop.now());
    return motion;
  }
  void setOnAccessLost(std::function<void()>) override {}
  MainLoop& loop;
  int number;
  std::vector<std::pair<int, double>>& log;
  TaskHandle motion;
  int stops = 0;
};

class PresentationWindowTest : public WindowFixture {
 protected:
  std::shared_ptr<ScreenRenderer> renderer = ScreenRenderer::make(loop, world.gpu, QuarterTurn::right, 60);
  std::shared_ptr<PresentationWindow> window;
  std::vector<std::pair<int, double>> log;

  void SetUp() override {
    dropObjects = [this] {
      window.reset();
      renderer->invalidate();
    };
  }
  std::shared_ptr<FakeTouch> touch(int number, double seconds) { return std::make_shared<FakeTouch>(loop, number, seconds, log); }
  void enableTouch(std::shared_ptr<TouchInputControl> input) {
    window->disableTouch();
    window->setTouchInput(std::move(input));
    window->platformWindow().setIgnoresMouseEvents(false);
  }
};

TEST_F(PresentationWindowTest, FindsTheScreenByNumberAndCoversItExactly) {
  constexpr std::int64_t beyond32Bits = (std::int64_t{1} << 32) + 2;
  const std::vector<ScreenInfo> twoScreens = {{1, "Mac", Rect(0, 0, 1440, 900)}, {2, "iPad", Rect(-1024, 37, 1024, 1366)}};
  struct Row {
    const char* name;
    std::optional<std::vector<ScreenInfo>> screens;
    std::optional<WindowFrame> frame;  // absent: no screen matches
  } rows[] = {
      {"second of two screens", twoScreens, WindowFrame{-1024, 37, 1024, 1366}},
      {"default world", std::nullopt, WindowFrame{1440, -124, 1366, 1024}},
      {"number beyond 32 bits", std::vector<ScreenInfo>{{beyond32Bits, "iPad", Rect(0, 0, 9, 9)}}, std::nullopt},
      {"number missing", std::vector<ScreenInfo>{{std::nullopt, "iPad", Rect(0, 0, 9, 9)}}, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    world.displays.screenListOverride = row.screens;
    if (!row.frame) {
      try {
        PresentationWindow::make(loop, world.displays, world.windows, *renderer, 2);
        ADD_FAILURE() << "no failure";
      } catch (const AppFailure& e) {
        EXPECT_EQ(e.message(), "The Sidecar display is no longer connected.");
      }
      EXPECT_TRUE(world.windows.windows().empty());
      continue;
    }
    window = PresentationWindow::make(loop, world.displays, world.windows, *renderer, 2);
    const sim::ServerWindow* w = onlyWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->frame(), *row.frame);
    EXPECT_TRUE(w->isVisible());
    const auto& p = w->properties();
    EXPECT_EQ(p.level, 1000);
    EXPECT_EQ(p.collectionBehavior, 337u);
    EXPECT_TRUE(p.ignoresMouseEvents && p.opaque && !p.hasShadow && !p.releasedWhenClosed);
    EXPECT_FALSE(p.canBecomeKey || p.canBecomeMain);
    EXPECT_EQ(p.backgroundColor, Color::black());
    EXPECT_EQ(w->contentView(), renderer->view());
    ASSERT_TRUE(renderer->view()->window());
    EXPECT_EQ(renderer->view()->window()->occlusionState(), Window::occlusionStateVisible);
    window->close();
    EXPECT_TRUE(world.windows.windows().empty());
    EXPECT_FALSE(renderer->view()->window()->occlusionState() & Window::occlusionStateVisible);
    window.reset();
  }
}

TEST_F(PresentationWindowTest, RetiredTouchInputsAreForgottenWhenTheirMotionsEnd) {
  window = PresentationWindow::make(loop, world.displays, world.windows, *renderer, 2);
  auto first = touch(1, 0.5);
  auto second = touch(2, 0.1);
  enableTouch(first);
  EXPECT_FALSE(onlyWindow()->properties().ignoresMouseEvents);
  enableTouch(second);  // the first one is retired on the way
  EXPECT_EQ(first->stops, 1);
  EXPECT_EQ(window->touchInput(), second);
  window->close();  // retires the second before the window closes
  EXPECT_EQ(second->stops, 1);
  EXPECT_TRUE(onlyWindow() == nullptr && window->platformWindow().ignoresMouseEvents());
  EXPECT_EQ(window->retiredTouchInputs().size(), 2u);
  loop.advance(0.2);
  EXPECT_EQ(window->retiredTouchInputs(), std::vector<std::shared_ptr<TouchInputControl>>{first});
  loop.advance(0.4);
  EXPECT_TRUE(window->retiredTouchInputs().empty());
}

TEST_F(PresentationWindowTest, WaitingAwaitsTheRetiredInputsInOrderOneAfterAnother) {
  window = PresentationWindow::make(loop, world.displays, world.windows, *renderer, 2);
  for (auto [number, seconds] : {std::pair{1, 0.3}, {2, 0.1}, {3, 0.2}}) {
    enableTouch(touch(number, seconds));
    window->disableTouch();
  }
  loop.runUntilIdle();
  log.clear();  // the retirement tasks have asked already
  double returnedAt = -1;
  spawn(loop, [](std::shared_ptr<PresentationWindow> w, MainLoop& loop, double& at) -> Task<void> {
    co_await w->waitForTouchMotionStop();
    at = loop.now();
  }(window, loop, returnedAt));
  loop.runUntilIdle();
  EXPECT_TRUE(window->retiredTouchInputs().empty());
  enableTouch(touch(4, 5.0));
  window->disableTouch();  // retired after the wait began: not awaited by it
  window.reset();          // the wait holds what it took
  loop.advance(1);
  EXPECT_DOUBLE_EQ(returnedAt, 0.3);
  const std::vector<std::pair<int, double>> asked = {{1, 0.0}, {4, 0.0}, {2, 0.3}, {3, 0.3}};
  EXPECT_EQ(log, asked);
}

}  // namespace
