// The backend's own tests: built and run only on a Mac (type-checked on Linux by
// scripts/check-macos). An owner that goes takes its platform callbacks with it: nothing it
// handed the platform (a target, a delegate, an observer) keeps what it made alive, and a call
// the platform makes afterwards reaches nothing.

#import <AppKit/AppKit.h>
#import <MetalKit/MetalKit.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "macos/app/MacMenu.h"
#include "macos/bridge/ActionTarget.h"
#include "macos/gpu/MetalKitView.h"
#include "macos/input/AppKitGestureRecognizers.h"
#include "macos/system/NotificationObservers.h"

using namespace turnlet;
using namespace turnlet::macos;

namespace {

// The logic's side of each owner, which the test keeps: it counts the calls that reach it.
struct Counting final : GpuViewDelegate, GestureRecognizerDelegate {
  void draw(GpuView&) override { ++calls; }
  void drawableSizeWillChange(GpuView&, Size) override { ++calls; }
  bool shouldAttemptToRecognize(GestureRecognizer&, const TouchEvent&) override { return ++calls > 0; }
  bool shouldReceiveTouch(GestureRecognizer&, const Touch&) override { return ++calls > 0; }
  bool shouldBegin(GestureRecognizer&) override { return ++calls > 0; }
  int calls = 0;
};

// An owner, whether what it made has ended, and a call from the platform.
struct Made final {
  std::shared_ptr<void> owner;
  std::function<bool()> expired;
  std::function<void()> post;
};

}  // namespace

TEST(OwnerLifetimes, AnOwnerThatGoesLeavesNothingAliveAndNothingToCall) {
  NSNotificationCenter* center = [[NSNotificationCenter alloc] init];
  NSNotificationName name = @"local.turnlet.tests.lifetime";
  const std::pair<std::string, std::function<Made(const std::shared_ptr<Counting>&)>> rows[] = {
      {"notification observer", [&](const std::shared_ptr<Counting>& counting) {
         auto observers = std::make_shared<NotificationObservers>(center);
         auto captured = std::make_shared<int>(0);
         observers->add(name, [counting, captured] { ++counting->calls; });
         return Made{observers, [weak = std::weak_ptr(captured)] { return weak.expired(); },
                     [center, name] { [center postNotificationName:name object:nil]; }};
       }},
      {"menu item target", [](const std::shared_ptr<Counting>& counting) {
         auto menu = std::make_shared<MacMenu>("Lifetime");
         const auto item = std::static_pointer_cast<MacMenuItem>(menu->addItem("Item"));
         item->setAction([counting](MenuItem&) { ++counting->calls; });
         NSMenuItem* platform = item->platformItem();
         __weak id target = platform.target;
         return Made{menu, [weak = std::weak_ptr(item), target] { return weak.expired() && !target; },
                     [platform] { [(TurnletActionTarget*)platform.target perform:platform]; }};
       }},
      {"presentation view delegate", [](const std::shared_ptr<Counting>& counting) {
         auto view = std::make_shared<MetalKitView>(nil);
         view->setDelegate(counting);
         MTKView* platform = view->nsView();
         __weak id<MTKViewDelegate> delegate = platform.delegate;
         return Made{view, [delegate] { return !delegate; }, [platform] { [platform.delegate drawInMTKView:platform]; }};
       }},
      {"gesture recognizer on its view", [](const std::shared_ptr<Counting>& counting) {
         auto view = std::make_shared<MetalKitView>(nil);
         const std::shared_ptr<PanGestureRecognizer> pan = AppKitGestureRecognizers().makePan([](GestureRecognizer&) {});
         pan->setDelegate(counting);
         view->touchView()->addGestureRecognizer(pan);
         NSGestureRecognizer* platform = platformRecognizer(*pan);
         __weak id target = platform.delegate;
         return Made{view, [weak = std::weak_ptr(pan), target] { return weak.expired() && !target; },
                     [platform] { [platform.delegate gestureRecognizerShouldBegin:platform]; }};
       }},
  };
  for (const auto& [row, make] : rows) {
    const auto counting = std::make_shared<Counting>();
    Made made;
    @autoreleasepool {
      made = make(counting);
      made.post();
      made.owner.reset();
    }
    EXPECT_EQ(counting->calls, 1) << row << ": the platform reaches the owner while it lives";
    EXPECT_TRUE(made.expired()) << row << ": something the platform holds keeps it alive";
    @autoreleasepool {
      made.post();
    }
    EXPECT_EQ(counting->calls, 1) << row << ": the platform reached it after its owner went";
  }
}
