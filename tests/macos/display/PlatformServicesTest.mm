// The backend's services over the real system: built and run only on a Mac (type-checked on
// Linux by scripts/check-macos). docs/macos.md says what each run should show.

#import <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/TurnletApp.h"
#include "macos/display/CoreGraphicsDisplayServices.h"
#include "macos/gpu/MetalKitView.h"
#include "macos/display/ObjCObjectRuntime.h"
#include "macos/system/StandardUserDefaults.h"

using namespace turnlet;
using namespace turnlet::macos;

TEST(MacDisplayServices, TheListingHasOneLinePerOnlineDisplay) {
  CoreGraphicsDisplayServices displays;
  std::uint32_t count = 0;
  ASSERT_EQ(displays.onlineDisplayList({}, count), 0);
  std::ostringstream out;
  TurnletApp::listDisplays(displays, out);
  const std::string listing = out.str();
  EXPECT_EQ(static_cast<std::uint32_t>(std::count(listing.begin(), listing.end(), '\n')), count) << listing;
  EXPECT_NE(listing.find("main=true"), std::string::npos) << "one display is the main one";
}

TEST(MacDisplayServices, AnEndedConfigurationIsRefusedWithoutReachingTheSystem) {
  CoreGraphicsDisplayServices displays;
  std::optional<DisplayConfiguration> config;
  ASSERT_EQ(displays.beginConfiguration(config), 0);
  ASSERT_TRUE(config);
  EXPECT_EQ(displays.cancelConfiguration(*config), 0);
  EXPECT_EQ(displays.configureOrigin(*config, displays.mainDisplayID(), 0, 0), 1001);
  EXPECT_EQ(displays.completeConfiguration(*config, 0), 1001);
}

TEST(MacPresentationView, ItsTouchSideIsOneViewOverTheSameMTKView) {
  MetalKitView view(nil);
  const std::shared_ptr<TouchView> touch = view.touchView();
  ASSERT_TRUE(touch);
  EXPECT_EQ(view.touchView(), touch) << "the same object each time, so recognizers added to it stay";
  view.nsView().bounds = CGRectMake(0, 0, 40, 30);
  EXPECT_EQ(touch->bounds().size.width, 40) << "the touch side reads the MTKView itself";
  EXPECT_FALSE(touch->isInWindow());
}

TEST(MacObjectRuntime, ExceptionsBecomePlatformExceptions) {
  ObjCObjectRuntime runtime;
  ClassRef cls = runtime.lookUpClass("NSObject");
  ASSERT_TRUE(cls);
  EXPECT_FALSE(runtime.lookUpClass("TurnletNoSuchClass"));
  ObjectRef object = runtime.allocInit(cls);
  EXPECT_FALSE(runtime.respondsToSelector(object, "displayID"));
  EXPECT_FALSE(runtime.instancesRespondToSelector(cls, "setSerialNum:"));
  EXPECT_THROW(runtime.respondsToSelector(object, "init"), PlatformException)
      << "only the messages of the private protocol are looked up by name";
  try {
    runtime.setValueForKey(object, "serialNum", std::uint32_t{1});
    FAIL() << "setting a key without a setter raises";
  } catch (const PlatformException& e) {
    EXPECT_EQ(e.name(), "NSUnknownKeyException");
    EXPECT_TRUE(e.reason());
  }
}

TEST(MacUserDefaults, OpaqueValuesAreWrittenBackUnchanged) {
  StandardUserDefaults defaults;
  const std::string key = "turnletBackendTestValue";
  NSDate* date = [NSDate dateWithTimeIntervalSinceReferenceDate:1.5];
  [NSUserDefaults.standardUserDefaults setObject:date forKey:@"turnletBackendTestValue"];
  const auto read = defaults.value(key);
  ASSERT_TRUE(read && read->asOpaque());
  defaults.remove(key);
  EXPECT_FALSE(defaults.value(key));
  defaults.set(key, *read);
  EXPECT_EQ(defaults.value(key), read);
  defaults.set(key, DefaultsValue{DefaultsDictionary{{"a", DefaultsValue{std::int64_t{90}}}, {"b", *read}}});
  EXPECT_EQ(defaults.value(key)->asDictionary()->at("b"), *read);
  defaults.remove(key);
}
