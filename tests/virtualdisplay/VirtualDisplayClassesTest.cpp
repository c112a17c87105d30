#include "virtualdisplay/VirtualDisplayFixture.h"

namespace turnlet {
namespace {

sim::SimDisplay display(DisplayID id, Rect bounds) {
  sim::SimDisplay d;
  d.id = id;
  d.name = "Display " + std::to_string(id);
  d.bounds = bounds;
  return d;
}

TEST(VirtualDisplayClasses, NewDisplayAppearsTopAlignedRightOfTheRightmostDisplay) {
  sim::ManualLoop loop;
  sim::WorldDescription layout;
  // The rightmost display is not the last one listed and sits above the main display.
  layout.displays = {display(1, Rect(0, 0, 1440, 900)), display(5, Rect(1440, -300, 1920, 1080)),
                     display(3, Rect(-1024, 100, 1024, 768))};
  sim::World world(loop, layout);
  auto virtualDisplay = TurnletVirtualDisplay::create(world.virtualDisplayClasses, 1600, 1200, 800, 600);
  ASSERT_TRUE(virtualDisplay);
  EXPECT_GT(virtualDisplay->displayID(), 5u);
  EXPECT_EQ(world.displays.bounds(virtualDisplay->displayID()), Rect(3360, -300, 800, 600));
  // It has a screen of its own, named as the descriptor says.
  bool screenFound = false;
  for (const ScreenInfo& screen : world.displays.screens())
    screenFound = screenFound || (screen.screenNumber == virtualDisplay->displayID() &&
                                  screen.localizedName == TurnletVirtualDisplayName);
  EXPECT_TRUE(screenFound);
}

TEST_F(VirtualDisplayTest, BehavesLikeTheRuntimeTowardsMessagesItDoesNotKnow) {
  ClassRef descriptorClass = classes.lookUpClass("CGVirtualDisplayDescriptor");
  ClassRef modeClass = classes.lookUpClass("CGVirtualDisplayMode");
  ClassRef settingsClass = classes.lookUpClass("CGVirtualDisplaySettings");
  ASSERT_TRUE(descriptorClass && modeClass && settingsClass);
  EXPECT_FALSE(classes.lookUpClass("CGVirtualDisplayNonsense"));
  ObjectRef descriptor = classes.allocInit(descriptorClass);

  try {
    classes.setValueForKey(descriptor, "colour", std::string("blue"));
    ADD_FAILURE() << "an unknown key must raise";
  } catch (const PlatformException& e) {
    EXPECT_EQ(e.name(), "NSUnknownKeyException");
  }
  try {
    classes.setMainQueue(descriptor, "setDispatchQueue:");
    ADD_FAILURE() << "an unknown selector must raise";
  } catch (const PlatformException& e) {
    EXPECT_EQ(e.name(), "NSInvalidArgumentException");
  }
  EXPECT_THROW(classes.setValueForKey(descriptor, "sizeInMillimeters", BoxedSize{1, 2, "{CGPoint=dd}"}),
               PlatformException);
}

TEST_F(VirtualDisplayTest, RefusesModesBeyondTheDescriptorsPixelBounds) {
  auto display = createPortrait();
  ASSERT_TRUE(display);
  ClassRef modeClass = classes.lookUpClass("CGVirtualDisplayMode");
  ClassRef settingsClass = classes.lookUpClass("CGVirtualDisplaySettings");
  // 1367 points at 2 pixels each is 2734 pixels, over the 2732 the descriptor allows.
  ObjectRef tooTall = TurnletVirtualDisplayCreateSettings(classes, modeClass, settingsClass, 1024, 1367);
  EXPECT_FALSE(classes.applySettings(display->privateDisplay(), tooTall));
  ObjectRef turned = TurnletVirtualDisplayCreateSettings(classes, modeClass, settingsClass, 1366, 1024);
  EXPECT_TRUE(classes.applySettings(display->privateDisplay(), turned));
  const auto mode = classes.valuesOf(std::get<ObjectList>(classes.valuesOf(turned).at("modes")).front());
  EXPECT_EQ(mode.at("refreshRate"), ObjectValue(60.0));
  EXPECT_EQ(classes.valuesOf(turned).at("hiDPI"), ObjectValue(true));
}

}  // namespace
}  // namespace turnlet
