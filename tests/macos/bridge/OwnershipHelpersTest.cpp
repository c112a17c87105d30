#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "macos/bridge/CallbackSlot.h"
#include "macos/bridge/RetainedRef.h"
#include "macos/bridge/WeakBridge.h"
#include "sim/system/ManualLoop.h"

using namespace turnlet;
using namespace turnlet::macos;

namespace {

// Reference counts of fake platform objects, as the platform would keep them.
struct FakeObject {
  int count = 1;  // what a create function returns is owned by the caller
};

struct FakeTraits final {
  static void retain(FakeObject* o) { ++o->count; }
  static void release(FakeObject* o) { --o->count; }
};

using FakeRef = RetainedRef<FakeObject*, FakeTraits>;

}  // namespace

TEST(MacOwnership, RetainedReferencesFollowTheCreateAndGetRules) {
  struct Row {
    const char* name;
    std::function<void(FakeObject&, FakeObject&)> use;
    int first, second;  // counts afterwards: 0 means all ours were given back
  };
  const std::vector<Row> rows = {
      {"adopted and dropped", [](FakeObject& a, FakeObject&) { FakeRef::adopt(&a); }, 0, 1},
      {"got and kept", [](FakeObject& a, FakeObject&) { FakeRef r = FakeRef::retain(&a); EXPECT_EQ(a.count, 2); }, 1, 1},
      {"copied", [](FakeObject& a, FakeObject&) {
         FakeRef r = FakeRef::adopt(&a);
         FakeRef c = r;
         EXPECT_EQ(a.count, 2);
       }, 0, 1},
      {"moved", [](FakeObject& a, FakeObject&) {
         FakeRef r = FakeRef::adopt(&a);
         FakeRef m = std::move(r);
         EXPECT_FALSE(r);
         EXPECT_EQ(a.count, 1);
       }, 0, 1},
      {"assigned over", [](FakeObject& a, FakeObject& b) {
         FakeRef r = FakeRef::adopt(&a);
         r = FakeRef::adopt(&b);
         EXPECT_EQ(a.count, 0);
       }, 0, 0},
      {"assigned to itself", [](FakeObject& a, FakeObject&) {
         FakeRef r = FakeRef::adopt(&a);
         FakeRef& same = r;
         r = same;
         EXPECT_EQ(a.count, 1);
       }, 0, 1},
      {"released to the caller", [](FakeObject& a, FakeObject&) {
         FakeRef r = FakeRef::adopt(&a);
         FakeObject* out = r.release();
         EXPECT_EQ(out, &a);
       }, 1, 1},
      {"null is never passed on", [](FakeObject&, FakeObject&) {
         FakeRef n = FakeRef::retain(nullptr);
         FakeRef c = n;
         n.reset();
       }, 1, 1},
  };
  for (const Row& row : rows) {
    FakeObject a, b;
    row.use(a, b);
    EXPECT_EQ(a.count, row.first) << row.name;
    EXPECT_EQ(b.count, row.second) << row.name;
  }
}

TEST(MacOwnership, ACallbackOutlivesBeingClearedFromInside) {
  // A recognizer's action that removes the recognizer: the running function and its captures
  // stay until it returns.
  CallbackSlot<int> slot;
  auto captured = std::make_shared<std::string>("alive");
  std::string seen;
  slot.set([&slot, &seen, captured](int n) {
    slot.clear();
    seen = *captured + " " + std::to_string(n);  // read after the slot let go
  });
  captured.reset();
  EXPECT_TRUE(slot(7));
  EXPECT_EQ(seen, "alive 7");
  EXPECT_FALSE(slot);
  EXPECT_FALSE(slot(8));

  // Replaced from inside: the new one runs next time, the old one finishes first.
  std::vector<int> calls;
  slot.set([&](int n) {
    slot.set([&](int m) { calls.push_back(100 + m); });
    calls.push_back(n);
  });
  slot(1);
  slot(2);
  EXPECT_EQ(calls, (std::vector<int>{1, 102}));
}

TEST(MacOwnership, WeakBridgesReachTheOwnerOnlyOnTheLoopAndOnlyWhileItLives) {
  struct Owner {
    std::vector<std::string> calls;
  };
  sim::ManualLoop loop;
  auto owner = std::make_shared<Owner>();
  const std::weak_ptr<Owner> watch = owner;
  const WeakBridge<Owner> bridge(owner);

  // A platform thread posts; the owner is reached on the loop.
  std::thread([&] { bridge.post(loop, [&](Owner& o) { o.calls.push_back(loop.isLoopThread() ? "loop" : "other"); }); })
      .join();
  loop.runUntilIdle();
  EXPECT_EQ(owner->calls, (std::vector<std::string>{"loop"}));

  // The owner drops itself from inside a call: it ends after the call returns, not during it.
  bool endedDuringCall = true;
  EXPECT_TRUE(bridge.call([&](Owner&) {
    owner.reset();
    endedDuringCall = watch.expired();
  }));
  EXPECT_FALSE(endedDuringCall);
  EXPECT_TRUE(watch.expired());

  // Gone: nothing runs, neither directly nor posted.
  bool ran = false;
  EXPECT_FALSE(bridge.call([&](Owner&) { ran = true; }));
  bridge.post(loop, [&](Owner&) { ran = true; });
  loop.runUntilIdle();
  EXPECT_FALSE(ran);
  EXPECT_TRUE(bridge.expired());
}
