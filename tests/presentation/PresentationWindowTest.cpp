#include <gmock/gmock.h>

#include <cstdint>
#include <vector>

#include "display/AppFailure.h"
#include "presentation/PresentationWindow.h"
#include "presentation/WindowFixture.h"

using namespace turnlet;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

namespace {

using AskLog = std::vector<std::pair<int, double>>;  // which input's motion task was asked for, when

// A touch input whose window motions end after motionSeconds.
struct FakeTouch : TouchInputControl {
  FakeTouch(MainLoop& loop, int number, double motionSeconds, AskLog& log)
      : loop(loop), number(number), log(log), motion(spawn(loop, [](double s) -> Task<void> { co_await sleep(s); }(motionSeconds))) {}
  void stop() override { ++stops; }
  std::optional<TaskHandle> motionStopTask() const override { return log.emplace_back(number, loop.now()), motion; }
  void setOnAccessLost(std::function<void()>) override {}
  MainLoop& loop;
  int number, stops = 0;
  AskLog& log;
  TaskHandle motion;
};

class PresentationWindowTest : public WindowFixture {
 protected:
  std::shared_ptr<ScreenRenderer> renderer = ScreenRenderer::make(loop, world.gpu, QuarterTurn::right, 60);
  std::shared_ptr<PresentationWindow> window;
  AskLog log;
  void SetUp() override { dropObjects = [this] { window.reset(), renderer->invalidate(); }; }
  std::shared_ptr<FakeTouch> touch(int number, double seconds) { return std::make_shared<FakeTouch>(loop, number, seconds, log); }
  void enableTouch(std::shared_ptr<TouchInputControl> input) {
    window->disableTouch();
    window->setTouchInput(std::move(input));
    window->platformWindow().setIgnoresMouseEvents(false);
  }
};

TEST_F(PresentationWindowTest, FindsTheScreenByNumberAndCoversItExactly) {
  const std::vector<ScreenInfo> twoScreens = {{1, "Mac", Rect(0, 0, 1440, 900)}, {2, "iPad", Rect(-1024, 37, 1024, 1366)}};
  struct Row {
    const char* name;
    std::vector<ScreenInfo> screens;
    std::optional<WindowFrame> frame;  // absent: no screen matches
  } rows[] = {
      {"second of two screens", twoScreens, WindowFrame{-1024, 37, 1024, 1366}},
      {"number beyond 32 bits", {{(std::int64_t{1} << 32) + 2, "iPad", Rect(0, 0, 9, 9)}}, std::nullopt},
      {"number missing", {{std::nullopt, "iPad", Rect(0, 0, 9, 9)}}, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    world.displays.screenListOverride = row.screens;
    auto make = [&] { return PresentationWindow::make(loop, world.displays, world.windows, *renderer, 2); };
    if (!row.frame) {
      EXPECT_THAT(make, ThrowsMessage<AppFailure>(StrEq("The Sidecar display is no longer connected.")));
      continue;
    }
    window = make();
    const sim::ServerWindow* w = onlyWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->frame(), *row.frame);
    const auto& p = w->properties();
    EXPECT_TRUE(w->isVisible() && p.level == 1000 && p.collectionBehavior == 337 && p.backgroundColor == Color::black());
    EXPECT_TRUE(p.ignoresMouseEvents && p.opaque && !p.hasShadow && !p.releasedWhenClosed);
    EXPECT_FALSE(p.canBecomeKey || p.canBecomeMain);
    EXPECT_EQ(w->contentView(), renderer->view());
    EXPECT_EQ(renderer->view()->window()->occlusionState(), Window::occlusionStateVisible);
    window->close();
    EXPECT_FALSE(renderer->view()->window()->occlusionState() & Window::occlusionStateVisible);
  }
}

TEST_F(PresentationWindowTest, RetiredTouchInputsAreForgottenWhenTheirMotionsEnd) {
  window = PresentationWindow::make(loop, world.displays, world.windows, *renderer, 2);
  auto first = touch(1, 0.5), second = touch(2, 0.1);
  enableTouch(first);
  EXPECT_FALSE(onlyWindow()->properties().ignoresMouseEvents);
  enableTouch(second);  // the first one is retired on the way
  EXPECT_TRUE(first->stops == 1 && window->touchInput() == second);
  window->close();  // retires the second before the window closes
  EXPECT_TRUE(second->stops == 1 && !onlyWindow() && window->platformWindow().ignoresMouseEvents());
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
  EXPECT_TRUE(window->retiredTouchInputs().empty());  // taken at once
  enableTouch(touch(4, 5.0));
  window->disableTouch();  // retired after the wait began: not awaited by it
  window.reset();          // the wait holds what it took
  loop.advance(1);
  EXPECT_DOUBLE_EQ(returnedAt, 0.3);
  EXPECT_EQ(log, (AskLog{{1, 0.0}, {4, 0.0}, {2, 0.3}, {3, 0.3}}));
}

}  // namespace
