#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "macos/input/GestureDispatch.h"
#include "macos/input/TouchIdentities.h"

using namespace turnlet;
using namespace turnlet::macos;

// Identity objects compared by value, as the platform compares its identities with isEqual:.
using Identity = std::shared_ptr<std::string>;
struct SameText final {
  bool operator()(const Identity& a, const Identity& b) const { return *a == *b; }
};

TEST(MacTouchIdentities, EqualWhileDownNewAfterLift) {
  TouchIdentities<Identity, SameText> table(3);
  auto id = [](const char* s) { return std::make_shared<std::string>(s); };
  struct Step {
    const char* name;
    const char* identity;
    bool ends;           // the touch ended in this event
    std::uint64_t expected;
  };
  // Each step is one event with one touch; endEvent() runs after it.
  const std::vector<Step> steps = {
      {"first finger lands", "a", false, 1},
      {"same finger, another identity object", "a", false, 1},
      {"second finger", "b", false, 2},
      {"first finger lifts, still its number in that event", "a", true, 1},
      {"second finger still down", "b", false, 2},
      {"the platform reuses the lifted identity: a new finger", "a", false, 3},
      {"third finger", "c", false, 4},
      {"fourth finger drops the oldest never-ended one", "d", false, 5},
      {"the dropped one is a new finger if seen again", "b", false, 6},
  };
  for (const Step& step : steps) {
    const Identity identity = id(step.identity);
    EXPECT_EQ(table.number(identity), step.expected) << step.name;
    EXPECT_EQ(table.number(id(step.identity)), step.expected) << step.name << ": asked twice in one event";
    if (step.ends) table.ending(identity);
    EXPECT_EQ(table.number(identity), step.expected) << step.name << ": ending keeps the number until the event is done";
    table.endEvent();
  }
  EXPECT_EQ(table.size(), 3u);
}

namespace {

// A recognizer wrapper as the backend makes one: it owns its dispatch and names itself in it.
// The touch view holds it while it is in the view (`setInView`), as the test's own pointers do.
class FakeRecognizer final : public GestureRecognizer {
 public:
  static std::shared_ptr<FakeRecognizer> make(GestureDispatch::Action action = [](GestureRecognizer&) {}) {
    auto r = std::make_shared<FakeRecognizer>();
    r->dispatch = std::make_shared<GestureDispatch>(std::move(action));
    r->dispatch->setRecognizer(r);
    r->dispatch->setInView(true);
    return r;
  }
  ~FakeRecognizer() override { *alive = false; }
  GestureState state() const override { return GestureState::began; }
  void setEnabled(bool) override {}
  void setAllowedTouchTypes(TouchTypeMask) override {}
  void setDelegate(std::weak_ptr<GestureRecognizerDelegate> d) override { dispatch->setDelegate(std::move(d)); }
  Point locationInView() const override { return {}; }
  std::uint64_t modifierFlags() const override { return 0; }

  std::shared_ptr<GestureDispatch> dispatch;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

struct Delegate final : GestureRecognizerDelegate {
  std::function<bool()> answer;
  bool shouldAttemptToRecognize(GestureRecognizer&, const TouchEvent&) override { return answer(); }
  bool shouldReceiveTouch(GestureRecognizer&, const Touch&) override { return answer(); }
  bool shouldBegin(GestureRecognizer&) override { return answer(); }
};

}  // namespace

TEST(MacGestureDispatch, RecognizersRemovedAndReleasedInsideTheirCallbacksLiveUntilItReturns) {
  std::shared_ptr<FakeRecognizer> owned;
  int calls = 0;
  owned = FakeRecognizer::make([&](GestureRecognizer& self) {
    ++calls;
    auto alive = owned->alive;
    owned->dispatch->setInView(false);
    owned.reset();  // the last owner lets go inside its own action
    EXPECT_TRUE(*alive) << "still alive inside the call";
    EXPECT_EQ(self.state(), GestureState::began) << "and usable";
  });
  const std::weak_ptr<GestureDispatch> platformsHandle = owned->dispatch;
  const auto alive = owned->alive;
  owned->dispatch->setInView(false);
  EXPECT_FALSE(GestureDispatch::runAction(platformsHandle)) << "not in a view: not called";
  EXPECT_EQ(calls, 0);
  owned->dispatch->setInView(true);
  EXPECT_TRUE(GestureDispatch::runAction(platformsHandle));
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(*alive) << "released once the call returned";
  EXPECT_FALSE(GestureDispatch::runAction(platformsHandle)) << "never called again";
  EXPECT_FALSE(GestureDispatch::shouldBegin(platformsHandle));
  EXPECT_EQ(calls, 1);
}

TEST(MacGestureDispatch, DelegateQuestionsFollowTheDelegateAndTheView) {
  auto pan = FakeRecognizer::make(), press = FakeRecognizer::make();
  struct NoEvent final : TouchEvent {
    std::uint64_t type() const override { return eventTypeGesture; }
    double timestamp() const override { return 0; }
    std::uint64_t modifierFlags() const override { return 0; }
    std::vector<Touch> touches(TouchPhase) const override { return {}; }
  } event;
  const std::weak_ptr<GestureDispatch> handle = pan->dispatch;
  EXPECT_TRUE(GestureDispatch::shouldBegin(handle)) << "no delegate: the platform's default";
  EXPECT_TRUE(GestureDispatch::shouldReceiveTouch(handle, Touch{}));

  auto delegate = std::make_shared<Delegate>();
  delegate->answer = [] { return false; };
  pan->setDelegate(delegate);
  EXPECT_FALSE(GestureDispatch::shouldBegin(handle));
  EXPECT_FALSE(GestureDispatch::shouldAttemptToRecognize(handle, event));
  EXPECT_FALSE(GestureDispatch::shouldReceiveTouch(handle, Touch{}));

  // The delegate removes and releases every recognizer, the asking one included, and answers yes.
  const auto panAlive = pan->alive, pressAlive = press->alive;
  delegate->answer = [&] {
    pan.reset();
    press.reset();
    EXPECT_TRUE(*panAlive) << "the asking recognizer lives until the answer";
    return true;
  };
  EXPECT_TRUE(GestureDispatch::shouldBegin(handle));
  EXPECT_FALSE(*panAlive);
  EXPECT_FALSE(*pressAlive);
  EXPECT_FALSE(GestureDispatch::shouldBegin(handle)) << "gone: no";

  auto other = FakeRecognizer::make();
  other->setDelegate(delegate);
  delegate.reset();
  EXPECT_TRUE(GestureDispatch::shouldBegin(other->dispatch)) << "a released delegate is no delegate";
  other->dispatch->setInView(false);
  EXPECT_FALSE(GestureDispatch::shouldReceiveTouch(other->dispatch, Touch{})) << "removed: no";
}
