#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "display/DisplayInfo.h"
#include "sim/system/ManualLoop.h"
#include "sim/world/World.h"
#include "virtualdisplay/TurnletVirtualDisplay.h"

namespace turnlet {
namespace {

using Classes = sim::VirtualDisplayClasses;

// A simulated Mac with the default displays (built-in 1440×900, iPad 1366×1024 to its right).
class VirtualDisplayTest : public ::testing::Test {
 protected:
  std::shared_ptr<TurnletVirtualDisplay> createPortrait() {
    return TurnletVirtualDisplay::create(classes, 2048, 2732, 1024, 1366, &error);
  }

  // The program's own display as the display list shows it once pending notifications ran.
  std::optional<DisplayInfo> ownDisplay() {
    loop.runUntilIdle();
    for (const DisplayInfo& d : DisplayInfo::online(world.displays))
      if (d.isOwnVirtualDisplay()) return d;
    return std::nullopt;
  }
  std::uint32_t serial(const TurnletVirtualDisplay& d) {
    return std::get<std::uint32_t>(classes.valuesOf(d.privateDescriptor()).at("serialNum"));
  }

  sim::ManualLoop loop;
  sim::World world{loop};
  Classes& classes = world.virtualDisplayClasses;
  std::optional<PlatformError> error;
};

TEST_F(VirtualDisplayTest, CreatesTheDescribedHiDPIDisplayBesideTheRightmostDisplay) {
  auto pinned = [] { return UUIDBytes{0x12, 0x34, 0x56, 0x78}; };
  auto display = TurnletVirtualDisplay::create(classes, 2048, 2732, 1024, 1366, &error, pinned);
  ASSERT_TRUE(display) << error->localizedDescription();
  EXPECT_FALSE(error);
  EXPECT_EQ(display->maximumPixelDimension(), 2732u);
  auto shown = ownDisplay();
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->id, display->displayID());
  EXPECT_EQ(shown->bounds, Rect(2806, 0, 1024, 1366));  // the iPad spans x 1440…2806, top at 0
  EXPECT_EQ(world.displays.currentModePixelSize(shown->id), (PixelSize{2048, 2732}));

  const auto values = classes.valuesOf(display->privateDescriptor());
  EXPECT_EQ(values.at("name"), ObjectValue(std::string("Turnlet Desktop")));
  EXPECT_EQ(values.at("maxPixelsWide"), ObjectValue(std::uint32_t{2732}));
  EXPECT_EQ(values.at("maxPixelsHigh"), ObjectValue(std::uint32_t{2732}));
  EXPECT_EQ(values.at("vendorID"), ObjectValue(std::int32_t{21580}));
  EXPECT_EQ(values.at("productID"), ObjectValue(std::int32_t{21586}));
  EXPECT_EQ(serial(*display), 0x7f460908u);  // 0x12, 0x34, 0x56, 0x78, zeros
  const auto& size = std::get<BoxedSize>(values.at("sizeInMillimeters"));
  EXPECT_EQ(size.typeEncoding, "{CGSize=dd}");
  EXPECT_NEAR(size.width, 236.45, 0.005);
  EXPECT_NEAR(size.height, 315.42, 0.005);
  EXPECT_EQ(classes.queueSetterOf(display->privateDescriptor()), "setQueue:");

  // Without setQueue: the older setter is used; keys are set in a fixed order, then the queue.
  // Types are compared without frame offsets or qualifiers, and BOOL as an Intel Mac encodes it.
  classes.removeSelector("CGVirtualDisplayDescriptor", "setQueue:");
  classes.addSelector("CGVirtualDisplayDescriptor", "setDispatchQueue:");
  classes.setTypeEncoding("CGVirtualDisplay", "applySettings:", "c24@0:8@16");
  classes.setTypeEncoding("CGVirtualDisplayMode", "initWithWidth:height:refreshRate:", "@40@0:8rQ16Q24d32");
  classes.clearCalls();
  ASSERT_TRUE(createPortrait()) << error->localizedDescription();
  std::vector<std::string> sets;
  for (const std::string& call : classes.calls())
    if (call.starts_with("CGVirtualDisplayDescriptor set")) sets.push_back(call.substr(call.rfind(' ') + 1));
  EXPECT_EQ(sets, (std::vector<std::string>{"name", "maxPixelsWide", "maxPixelsHigh", "sizeInMillimeters", "vendorID",
                                            "productID", "serialNum", "setDispatchQueue:"}));
}

TEST(TurnletVirtualDisplaySerialNumber, FoldsTheUUIDBytesAndNeverGivesZero) {
  const std::tuple<const char*, UUIDBytes, std::uint32_t> rows[] = {
      {"all zero folds to 0, reported as 1", {}, 1},
      {"leading one is 33^15 mod 2^32", {1}, 0x0C3525E1},
      {"counting bytes", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 0xA6045800},
      // 1 × 33 XOR 33 cancels in the last step.
      {"cancels to 0 at the end, reported as 1", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 33}, 1},
  };
  for (const auto& [name, uuid, serial] : rows) EXPECT_EQ(TurnletVirtualDisplaySerialNumber(uuid), serial) << name;
}

// One failing step of creation or resizing per row: the error it reports (and, without an
// out-parameter, the same failure silently). A failed creation leaves no display behind; a failed
// resize keeps the display as it was. Resizing starts from a display created at 2048×2732.
struct Failure {
  std::string name;
  bool resize;
  std::array<std::uint64_t, 4> sizes;  // pixel width, height, logical width, height
  std::function<void(Classes&)> fault;
  std::int64_t code;
  std::string sentence;
};

const std::string createSizes =
    "HiDPI dimensions must be nonzero and pixels must be exactly twice the logical dimensions.";
const std::string resizeSizes =
    "The requested HiDPI dimensions are invalid or exceed the virtual display's configured pixel bounds.";
const std::string raised = "The private virtual display API raised an exception: ";
const std::string cannotResize = "The private virtual display API cannot resize this display on this macOS version.";
const std::string incompatible =
    "The private virtual display API has an incompatible interface on this macOS version.";

std::vector<Failure> failures() {
  const std::array<std::uint64_t, 4> portrait{2048, 2732, 1024, 1366}, turned{2732, 2048, 1366, 1024};
  auto none = [](Classes&) {};
  auto set = [](bool Classes::*flag) { return [flag](Classes& c) { c.*flag = true; }; };
  auto removed = [](const char* cls, const char* selector) {
    return [cls, selector](Classes& c) { c.removeSelector(cls, selector); };
  };
  auto raise = [](std::string call, std::string name, std::optional<std::string> reason) {
    return [=](Classes& c) { c.raiseAt(call, name, reason); };
  };
  // clang-format off
  std::vector<Failure> rows = {
      {"not exactly twice", false, {2049, 2732, 1024, 1366}, none, 2, createSizes},
      // Twice 0x80000001 wraps to 2 in 32-bit arithmetic.
      {"doubling would wrap", false, {2, 2, 0x80000001u, 1}, none, 2, createSizes},
      {"initWithDescriptor: yields nothing", false, portrait, set(&Classes::initWithDescriptorYieldsNothing), 3,
       "CoreGraphics could not create the virtual display."},
      {"applySettings: refuses", false, portrait, set(&Classes::applySettingsReturnsFalse), 4,
       "CoreGraphics could not apply the requested HiDPI display mode."},
      {"no displayID", false, portrait, removed("CGVirtualDisplay", "displayID"), 1,
       "The private virtual display does not expose a display ID."},
      {"displayID answers 0", false, portrait, set(&Classes::displayIDAnswersZero), 3,
       "CoreGraphics returned an invalid virtual display ID."},
      {"no queue setter", false, portrait, removed("CGVirtualDisplayDescriptor", "setQueue:"), 1,
       "The private display descriptor cannot be assigned a dispatch queue."},
      {"raises", false, portrait, raise("CGVirtualDisplay initWithDescriptor:", "NSGenericException", "no server"), 4,
       raised + "no server"},
      {"raises without a reason after the display appeared", false, portrait,
       raise("CGVirtualDisplay displayID", "NSInternalInconsistencyException", {}), 4,
       raised + "NSInternalInconsistencyException"},
      {"wider than the creation bounds", true, {2800, 2100, 1400, 1050}, none, 2, resizeSizes},
      {"taller than the creation bounds", true, {2048, 2734, 1024, 1367}, none, 2, resizeSizes},
      {"not exactly twice", true, {2732, 2049, 1366, 1024}, none, 2, resizeSizes},
      {"2^32 pixels", true, {std::uint64_t{1} << 32, 2048, std::uint64_t{1} << 31, 1024}, none, 2, resizeSizes},
      // Twice 2^63 + 1 wraps to 2 in 64-bit arithmetic.
      {"doubling would wrap", true, {2, 2, (std::uint64_t{1} << 63) + 1, 1}, none, 2, resizeSizes},
      {"applySettings: refuses", true, turned, set(&Classes::applySettingsReturnsFalse), 4,
       "CoreGraphics could not apply the requested virtual display size."},
      {"raises", true, turned, raise("CGVirtualDisplay applySettings:", "NSInvalidArgumentException", "bad"), 4,
       raised + "bad"},
      {"raises without a reason", true, turned, raise("CGVirtualDisplaySettings setValue:forKey: modes",
       "NSRangeException", {}), 4, raised + "NSRangeException"},
  };
  // clang-format on
  for (std::size_t zero = 0; zero < 4; ++zero) {
    auto create = portrait, resize = turned;
    create[zero] = resize[zero] = 0;
    const std::string name =
        std::string("zero ") + (zero < 2 ? "pixel" : "logical") + (zero % 2 ? " height" : " width");
    rows.push_back({name, false, create, none, 2, createSizes});
    rows.push_back({name, true, resize, none, 2, resizeSizes});
  }
  for (std::string cls :
       {"CGVirtualDisplayDescriptor", "CGVirtualDisplay", "CGVirtualDisplayMode", "CGVirtualDisplaySettings"}) {
    auto gone = [cls](Classes& c) { c.removeClass(cls); };
    rows.push_back({"no class " + cls, false, portrait, gone, 1,
                    "This macOS version does not expose the required private virtual display classes."});
    if (cls.ends_with("Mode") || cls.ends_with("Settings"))
      rows.push_back({"no class " + cls, true, turned, gone, 1, cannotResize});
  }
  const std::pair<const char*, const char*> interface[] = {
      {"CGVirtualDisplayMode", "initWithWidth:height:refreshRate:"},
      {"CGVirtualDisplaySettings", "setModes:"},
      {"CGVirtualDisplaySettings", "setHiDPI:"},
      {"CGVirtualDisplay", "applySettings:"},
      {"CGVirtualDisplay", "initWithDescriptor:"},  // not needed for resizing
  };
  for (auto [cls, selector] : interface) {
    const std::string name = std::string(cls) + " without " + selector;
    rows.push_back({name, false, portrait, removed(cls, selector), 1, incompatible});
    if (std::string(selector) != "initWithDescriptor:")
      rows.push_back({name, true, turned, removed(cls, selector), 1, cannotResize});
  }
  // A message whose types changed is sent nothing at all: integers read as doubles, or the
  // reverse, would make a display of nonsense size.
  const std::tuple<const char*, const char*, const char*, bool> retyped[] = {
      {"CGVirtualDisplayMode", "initWithWidth:height:refreshRate:", "@40@0:8d16d24d32", true},
      {"CGVirtualDisplayMode", "initWithWidth:height:refreshRate:", "@32@0:8I16I20Q24", true},
      {"CGVirtualDisplayMode", "initWithWidth:height:refreshRate:", "@32@0:8Q16Q24", true},
      {"CGVirtualDisplay", "initWithDescriptor:", "@24@0:8Q16", false},
      {"CGVirtualDisplay", "applySettings:", "v24@0:8@16", false},
      {"CGVirtualDisplayDescriptor", "setQueue:", "v24@0:8Q16", false},
  };
  for (auto [cls, selector, encoding, resizes] : retyped) {
    const std::string name = std::string(cls) + " " + selector + " typed " + encoding;
    auto fault = [=](Classes& c) { c.setTypeEncoding(cls, selector, encoding); };
    rows.push_back({name, false, portrait, fault, 1, incompatible});
    if (resizes) rows.push_back({name, true, turned, fault, 1, cannotResize});
  }
  for (const char* setter : {"setName:", "setMaxPixelsWide:", "setMaxPixelsHigh:", "setSizeInMillimeters:",
                             "setVendorID:", "setProductID:", "setSerialNum:"})
    rows.push_back({std::string("descriptor without ") + setter, false, portrait,
                    removed("CGVirtualDisplayDescriptor", setter), 1,
                    std::string("The private display descriptor is missing ") + setter + "."});
  return rows;
}

TEST(TurnletVirtualDisplay, EachFailingStepReportsItsError) {
  for (const Failure& row : failures()) {
    SCOPED_TRACE((row.resize ? "resize: " : "create: ") + row.name);
    sim::ManualLoop loop;
    sim::World world(loop);
    Classes& classes = world.virtualDisplayClasses;
    std::shared_ptr<TurnletVirtualDisplay> display;
    if (row.resize) display = TurnletVirtualDisplay::create(classes, 2048, 2732, 1024, 1366);
    row.fault(classes);
    const auto [pw, ph, lw, lh] = row.sizes;
    auto attempt = [&](std::optional<PlatformError>* error) {
      using U = std::uint32_t;
      return row.resize ? display->resize(pw, ph, lw, lh, error)
                        : !!TurnletVirtualDisplay::create(classes, U(pw), U(ph), U(lw), U(lh), error);
    };
    std::optional<PlatformError> error;
    EXPECT_FALSE(attempt(nullptr));
    EXPECT_FALSE(attempt(&error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "Turnlet.VirtualDisplay");
    EXPECT_EQ(error->code(), row.code);
    EXPECT_EQ(error->localizedDescription(), row.sentence);

    loop.advance(1);
    EXPECT_EQ(classes.liveDisplayObjects(), row.resize ? 1 : 0);
    EXPECT_EQ(world.displays.displays().size(), row.resize ? 3u : 2u);
    EXPECT_TRUE(!display || world.displays.bounds(display->displayID()) == Rect(2806, 0, 1024, 1366));
  }
}

TEST_F(VirtualDisplayTest, TurnsWithoutRecreatingTheDisplayAndDroppingTheWrapperRemovesIt) {
  auto display = createPortrait();
  ASSERT_TRUE(display);
  const DisplayID id = display->displayID();
  ASSERT_TRUE(ownDisplay());
  const int notified = world.displays.notificationCount();
  const std::uint32_t firstSerial = serial(*display);

  EXPECT_TRUE(display->resize(2732, 2048, 1366, 1024, &error));
  EXPECT_FALSE(error);
  EXPECT_EQ(display->displayID(), id);
  EXPECT_EQ(classes.liveDisplayObjects(), 1);
  // The mode switch takes a moment; until then the system still shows the old size.
  loop.advance(0.29);
  EXPECT_EQ(ownDisplay()->bounds, Rect(2806, 0, 1024, 1366));
  EXPECT_EQ(world.displays.notificationCount(), notified);
  loop.advance(0.02);
  EXPECT_EQ(ownDisplay()->bounds, Rect(2806, 0, 1366, 1024));
  EXPECT_EQ(world.displays.notificationCount(), notified + 1);

  // Dropped with a switch back still pending: the switch must not bring anything back.
  ASSERT_TRUE(display->resize(2048, 2732, 1024, 1366));
  display.reset();
  EXPECT_EQ(loop.pendingTimerCount(), 0u);
  loop.advance(1);
  EXPECT_FALSE(world.displays.isOnline(id));
  EXPECT_FALSE(ownDisplay());
  EXPECT_EQ(world.displays.notificationCount(), notified + 2);
  EXPECT_EQ(classes.liveDisplayObjects(), 0);
  auto next = createPortrait();  // a later display gets a new id and a fresh serial number
  ASSERT_TRUE(next);
  EXPECT_NE(next->displayID(), id);
  EXPECT_NE(serial(*next), firstSerial);
}

TEST(VirtualDisplayClasses, NewDisplayAppearsRightOfTheRightmostDisplayAndMayOutliveTheSystem) {
  sim::ManualLoop loop;
  std::shared_ptr<TurnletVirtualDisplay> display;
  {
    sim::WorldDescription layout;
    // The rightmost display is not the last one listed and sits above the main display.
    layout.displays = {{.id = 1, .name = "A", .bounds = Rect(0, 0, 1440, 900), .uuid = {}},
                       {.id = 5, .name = "B", .bounds = Rect(1440, -300, 1920, 1080), .uuid = {}},
                       {.id = 3, .name = "C", .bounds = Rect(-1024, 100, 1024, 768), .uuid = {}}};
    sim::World world(loop, layout);
    display = TurnletVirtualDisplay::create(world.virtualDisplayClasses, 1600, 1200, 800, 600);
    ASSERT_TRUE(display);
    EXPECT_EQ(world.displays.bounds(display->displayID()), Rect(3360, -300, 800, 600));
    // It has a screen of its own, named as the descriptor says.
    EXPECT_TRUE(std::ranges::any_of(world.displays.screens(), [&](const ScreenInfo& screen) {
      return screen.screenNumber == display->displayID() && screen.localizedName == TurnletVirtualDisplayName;
    }));
    ASSERT_TRUE(display->resize(1200, 1600, 600, 800));  // its mode switch is still pending below
  }
  display.reset();
  loop.advance(1);
}

TEST_F(VirtualDisplayTest, TheClassesRaiseLikeTheRuntimeAndRefuseModesBeyondTheDescriptorsBounds) {
  EXPECT_FALSE(classes.lookUpClass("CGVirtualDisplayNonsense"));
  ObjectRef descriptor = classes.allocInit(classes.lookUpClass("CGVirtualDisplayDescriptor"));
  EXPECT_THROW(classes.setValueForKey(descriptor, "colour", std::string("blue")), PlatformException);
  EXPECT_THROW(classes.setMainQueue(descriptor, "setDispatchQueue:"), PlatformException);
  EXPECT_THROW(classes.setValueForKey(descriptor, "sizeInMillimeters", BoxedSize{1, 2, "{CGPoint=dd}"}),
               PlatformException);

  auto created = TurnletVirtualDisplay::create(classes, 2048, 2732, 1024, 1366);
  ASSERT_TRUE(created);
  ClassRef modeClass = classes.lookUpClass("CGVirtualDisplayMode");
  ClassRef settingsClass = classes.lookUpClass("CGVirtualDisplaySettings");
  // 1367 points at 2 pixels each is 2734 pixels, over the 2732 the descriptor allows.
  ObjectRef tooTall = TurnletVirtualDisplayCreateSettings(classes, modeClass, settingsClass, 1024, 1367);
  EXPECT_FALSE(classes.applySettings(created->privateDisplay(), tooTall));
  ObjectRef turned = TurnletVirtualDisplayCreateSettings(classes, modeClass, settingsClass, 1366, 1024);
  EXPECT_TRUE(classes.applySettings(created->privateDisplay(), turned));
  const auto mode = classes.valuesOf(std::get<ObjectList>(classes.valuesOf(turned).at("modes")).front());
  EXPECT_EQ(mode.at("refreshRate"), ObjectValue(60.0));
  EXPECT_EQ(classes.valuesOf(turned).at("hiDPI"), ObjectValue(true));
}

}  // namespace
}  // namespace turnlet
