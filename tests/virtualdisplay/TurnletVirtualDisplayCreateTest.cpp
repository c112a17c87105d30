#include <functional>
#include <string>
#include <vector>

#include "virtualdisplay/VirtualDisplayFixture.h"

namespace turnlet {
namespace {

using Classes = sim::VirtualDisplayClasses;

const char* const kClassesMissing = "This macOS version does not expose the required private virtual display classes.";
const char* const kIncompatible =
    "The private virtual display API has an incompatible interface on this macOS version.";
const char* const kCreateDimensions =
    "HiDPI dimensions must be nonzero and pixels must be exactly twice the logical dimensions.";

UUIDBytes pinnedUUID() { return {0x12, 0x34, 0x56, 0x78, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; }

TEST_F(VirtualDisplayTest, CreatesTheDescribedHiDPIDisplayBesideTheRightmostDisplay) {
  auto display = TurnletVirtualDisplay::create(classes, 2048, 2732, 1024, 1366, &error, pinnedUUID);
  ASSERT_TRUE(display) << error->localizedDescription();
  EXPECT_FALSE(error);
  EXPECT_EQ(display->maximumPixelDimension(), 2732u);
  EXPECT_NE(display->displayID(), 0u);

  auto shown = ownDisplay();
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->id, display->displayID());
  EXPECT_EQ(shown->name, "Turnlet Desktop");
  EXPECT_EQ(shown->vendor, 0x544Cu);
  // The iPad spans x 1440…2806 with its top at 0.
  EXPECT_EQ(shown->bounds, Rect(2806, 0, 1024, 1366));
  EXPECT_EQ(world.displays.currentModePixelSize(shown->id), (PixelSize{2048, 2732}));
  const sim::SimDisplay* simDisplay = world.displays.find(shown->id);
  ASSERT_TRUE(simDisplay);
  EXPECT_EQ(simDisplay->product, 0x5452u);
  EXPECT_EQ(simDisplay->serial, 0x7f460908u);  // 0x12, 0x34, 0x56, 0x78 then zeros
  EXPECT_EQ(simDisplay->scale, 2);
  EXPECT_EQ(world.displays.notificationCount(), 1);

  const auto values = classes.valuesOf(display->privateDescriptor());
  EXPECT_EQ(values.at("name"), ObjectValue(std::string("Turnlet Desktop")));
  EXPECT_EQ(values.at("maxPixelsWide"), ObjectValue(std::uint32_t{2732}));
  EXPECT_EQ(values.at("maxPixelsHigh"), ObjectValue(std::uint32_t{2732}));
  EXPECT_EQ(values.at("vendorID"), ObjectValue(std::int32_t{21580}));
  EXPECT_EQ(values.at("productID"), ObjectValue(std::int32_t{21586}));
  EXPECT_EQ(values.at("serialNum"), ObjectValue(std::uint32_t{0x7f460908}));
  const auto& size = std::get<BoxedSize>(values.at("sizeInMillimeters"));
  EXPECT_EQ(size.typeEncoding, "{CGSize=dd}");
  EXPECT_NEAR(size.width, 236.45, 0.005);
  EXPECT_NEAR(size.height, 315.42, 0.005);
  EXPECT_EQ(classes.queueSetterOf(display->privateDescriptor()), "setQueue:");
}

TEST_F(VirtualDisplayTest, CreationTestsEverySelectorBeforeUseInTheDocumentedOrder) {
  ASSERT_TRUE(createPortrait());
  const std::vector<std::string> expected = {
      "lookUpClass CGVirtualDisplayDescriptor",
      "lookUpClass CGVirtualDisplay",
      "lookUpClass CGVirtualDisplayMode",
      "lookUpClass CGVirtualDisplaySettings",
      "CGVirtualDisplayMode instancesRespondToSelector: initWithWidth:height:refreshRate:",
      "CGVirtualDisplaySettings instancesRespondToSelector: setModes:",
      "CGVirtualDisplaySettings instancesRespondToSelector: setHiDPI:",
      "CGVirtualDisplay instancesRespondToSelector: initWithDescriptor:",
      "CGVirtualDisplay instancesRespondToSelector: applySettings:",
      "CGVirtualDisplayDescriptor alloc init",
      "CGVirtualDisplayDescriptor respondsToSelector: setName:",
      "CGVirtualDisplayDescriptor respondsToSelector: setMaxPixelsWide:",
      "CGVirtualDisplayDescriptor respondsToSelector: setMaxPixelsHigh:",
      "CGVirtualDisplayDescriptor respondsToSelector: setSizeInMillimeters:",
      "CGVirtualDisplayDescriptor respondsToSelector: setVendorID:",
      "CGVirtualDisplayDescriptor respondsToSelector: setProductID:",
      "CGVirtualDisplayDescriptor respondsToSelector: setSerialNum:",
      "CGVirtualDisplayDescriptor respondsToSelector: setQueue:",
      "CGVirtualDisplayDescriptor setValue:forKey: name",
      "CGVirtualDisplayDescriptor setValue:forKey: maxPixelsWide",
      "CGVirtualDisplayDescriptor setValue:forKey: maxPixelsHigh",
      "CGVirtualDisplayDescriptor setValue:forKey: sizeInMillimeters",
      "CGVirtualDisplayDescriptor setValue:forKey: vendorID",
      "CGVirtualDisplayDescriptor setValue:forKey: productID",
      "CGVirtualDisplayDescriptor setValue:forKey: serialNum",
      "CGVirtualDisplayDescriptor setQueue:",
      "CGVirtualDisplayMode initWithWidth:height:refreshRate:",
      "CGVirtualDisplaySettings alloc init",
      "CGVirtualDisplaySettings setValue:forKey: modes",
      "CGVirtualDisplaySettings setValue:forKey: hiDPI",
      "CGVirtualDisplay initWithDescriptor:",
      "CGVirtualDisplay applySettings:",
      "CGVirtualDisplay respondsToSelector: displayID",
      "CGVirtualDisplay displayID",
  };
  EXPECT_EQ(classes.calls(), expected);
}

TEST_F(VirtualDisplayTest, FallsBackToTheOlderQueueSetter) {
  classes.removeSelector("CGVirtualDisplayDescriptor", "setQueue:");
  classes.addSelector("CGVirtualDisplayDescriptor", "setDispatchQueue:");
  auto display = createPortrait();
  ASSERT_TRUE(display);
  EXPECT_EQ(classes.queueSetterOf(display->privateDescriptor()), "setDispatchQueue:");
}

TEST(TurnletVirtualDisplaySerialNumber, FoldsTheUUIDBytesAndNeverGivesZero) {
  struct Row {
    const char* name;
    UUIDBytes uuid;
    std::uint32_t serial;
  };
  const Row rows[] = {
      {"all zero folds to 0, reported as 1", {}, 1},
      {"leading one is 33^15 mod 2^32", {1}, 0x0C3525E1},
      {"counting bytes", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 0xA6045800},
      {"all 0xFF",
       {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
       0x25EEFF00},
      // 1 × 33 XOR 33 cancels in the last step.
      {"cancels to 0 at the end, reported as 1", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 33}, 1},
  };
  for (const Row& row : rows) EXPECT_EQ(TurnletVirtualDisplaySerialNumber(row.uuid), row.serial) << row.name;
}

TEST_F(VirtualDisplayTest, EachCreationDrawsAFreshSerialNumber) {
  auto first = createPortrait();
  auto second = createPortrait();
  ASSERT_TRUE(first && second);
  const auto a = std::get<std::uint32_t>(classes.valuesOf(first->privateDescriptor()).at("serialNum"));
  const auto b = std::get<std::uint32_t>(classes.valuesOf(second->privateDescriptor()).at("serialNum"));
  EXPECT_NE(a, b);
  EXPECT_NE(a, 0u);
  EXPECT_NE(b, 0u);
  EXPECT_NE(first->displayID(), second->displayID());

  const UUIDBytes u1 = TurnletRandomUUIDBytes(), u2 = TurnletRandomUUIDBytes();
  EXPECT_NE(u1, u2);
  EXPECT_EQ(u1[6] >> 4, 4) << "version 4";
  EXPECT_EQ(u1[8] >> 6, 2) << "RFC 4122 variant";
}

// One failing step of creation per row: the error it reports, and that nothing is left behind.
struct CreateFailure {
  std::string name;
  std::function<void(Classes&)> fault;
  std::int64_t code;
  std::string sentence;
  std::array<std::uint32_t, 4> sizes = {2048, 2732, 1024, 1366};  // pixel w, h, logical w, h
};

std::vector<CreateFailure> createFailures() {
  auto none = [](Classes&) {};
  std::vector<CreateFailure> rows = {
      {"pixels not exactly twice", none, 2, kCreateDimensions, {2049, 2732, 1024, 1366}},
      {"zero pixel width", none, 2, kCreateDimensions, {0, 2732, 1024, 1366}},
      {"zero pixel height", none, 2, kCreateDimensions, {2048, 0, 1024, 1366}},
      {"zero logical width", none, 2, kCreateDimensions, {2048, 2732, 0, 1366}},
      {"zero logical height", none, 2, kCreateDimensions, {2048, 2732, 1024, 0}},
      // Twice 0x80000001 wraps to 2 in 32-bit arithmetic.
      {"doubling would wrap", none, 2, kCreateDimensions, {2, 2, 0x80000001u, 1}},
      {"initWithDescriptor: yields nothing", [](Classes& c) { c.initWithDescriptorYieldsNothing = true; }, 3,
       "CoreGraphics could not create the virtual display."},
      {"applySettings: refuses", [](Classes& c) { c.applySettingsReturnsFalse = true; }, 4,
       "CoreGraphics could not apply the requested HiDPI display mode."},
      {"no displayID", [](Classes& c) { c.removeSelector("CGVirtualDisplay", "displayID"); }, 1,
       "The private virtual display does not expose a display ID."},
      {"displayID answers 0", [](Classes& c) { c.displayIDAnswersZero = true; }, 3,
       "CoreGraphics returned an invalid virtual display ID."},
      {"no queue setter", [](Classes& c) { c.removeSelector("CGVirtualDisplayDescriptor", "setQueue:"); }, 1,
       "The private display descriptor cannot be assigned a dispatch queue."},
      {"raises in initWithDescriptor:",
       [](Classes& c) { c.raiseAt("CGVirtualDisplay initWithDescriptor:", "NSGenericException", "no WindowServer"); },
       4, "The private virtual display API raised an exception: no WindowServer"},
      {"raises without a reason after the display appeared",
       [](Classes& c) { c.raiseAt("CGVirtualDisplay displayID", "NSInternalInconsistencyException", std::nullopt); }, 4,
       "The private virtual display API raised an exception: NSInternalInconsistencyException"},
      {"raises while a key is set",
       [](Classes& c) {
         c.raiseAt("CGVirtualDisplayDescriptor setValue:forKey: serialNum", "NSRangeException", "serial");
       },
       4, "The private virtual display API raised an exception: serial"},
      {"raises in a class lookup",
       [](Classes& c) { c.raiseAt("lookUpClass CGVirtualDisplay", "NSGenericException", "lookup"); }, 4,
       "The private virtual display API raised an exception: lookup"},
      {"raises while the settings are built",
       [](Classes& c) {
         c.raiseAt("CGVirtualDisplaySettings setValue:forKey: hiDPI", "NSUnknownKeyException", "hiDPI");
       },
       4, "The private virtual display API raised an exception: hiDPI"},
  };
  for (const char* cls :
       {"CGVirtualDisplayDescriptor", "CGVirtualDisplay", "CGVirtualDisplayMode", "CGVirtualDisplaySettings"})
    rows.push_back(
        {std::string("missing class ") + cls, [cls](Classes& c) { c.removeClass(cls); }, 1, kClassesMissing});
  const std::pair<const char*, const char*> interface[] = {
      {"CGVirtualDisplayMode", "initWithWidth:height:refreshRate:"},
      {"CGVirtualDisplaySettings", "setModes:"},
      {"CGVirtualDisplaySettings", "setHiDPI:"},
      {"CGVirtualDisplay", "initWithDescriptor:"},
      {"CGVirtualDisplay", "applySettings:"},
  };
  for (auto [cls, selector] : interface)
    rows.push_back({std::string(cls) + " without " + selector,
                    [cls, selector](Classes& c) { c.removeSelector(cls, selector); }, 1, kIncompatible});
  for (const char* setter : {"setName:", "setMaxPixelsWide:", "setMaxPixelsHigh:", "setSizeInMillimeters:",
                             "setVendorID:", "setProductID:", "setSerialNum:"})
    rows.push_back({std::string("descriptor without ") + setter,
                    [setter](Classes& c) { c.removeSelector("CGVirtualDisplayDescriptor", setter); }, 1,
                    std::string("The private display descriptor is missing ") + setter + "."});
  return rows;
}

TEST(TurnletVirtualDisplayCreate, EachFailingStepReportsItsErrorAndLeavesNoDisplay) {
  for (const CreateFailure& row : createFailures()) {
    SCOPED_TRACE(row.name);
    sim::ManualLoop loop;
    sim::World world(loop);
    row.fault(world.virtualDisplayClasses);
    const auto [pw, ph, lw, lh] = row.sizes;

    std::optional<PlatformError> error;
    auto display = TurnletVirtualDisplay::create(world.virtualDisplayClasses, pw, ph, lw, lh, &error);
    EXPECT_FALSE(display);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "Turnlet.VirtualDisplay");
    EXPECT_EQ(error->code(), row.code);
    EXPECT_EQ(error->localizedDescription(), row.sentence);

    // Without an out-parameter the same failure is silent.
    EXPECT_FALSE(TurnletVirtualDisplay::create(world.virtualDisplayClasses, pw, ph, lw, lh));

    loop.runUntilIdle();
    EXPECT_EQ(world.virtualDisplayClasses.liveDisplayObjects(), 0);
    EXPECT_EQ(world.displays.displays().size(), 2u);
    for (const DisplayInfo& d : DisplayInfo::online(world.displays)) EXPECT_FALSE(d.isOwnVirtualDisplay());
  }
}

TEST_F(VirtualDisplayTest, DisplayThatAppearedBeforeAFailureIsRemovedAgain) {
  classes.displayIDAnswersZero = true;
  EXPECT_FALSE(createPortrait());
  loop.runUntilIdle();
  // One notification when its mode made it appear, one when creation gave it up.
  EXPECT_EQ(world.displays.notificationCount(), 2);
  EXPECT_FALSE(ownDisplay());
}

}  // namespace
}  // namespace turnlet
