#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "display/AppFailure.h"
#include "display/DisplayInfo.h"
#include "host/IcuTextServices.h"
#include "sim/DisplayServer.h"
#include "sim/ManualLoop.h"

using namespace turnlet;

namespace {

const std::string kAmbiguous =
    "The selected iPad is unavailable or has an ambiguous device identity. Reconnect it or choose another display.";
const std::string kNoCandidate =
    "Connect your iPad using Sidecar, then press Rotate. If it has a custom name, choose it under Display in the menu "
    "bar.";
const std::string kSeveral = "Choose your iPad under Display in the menu bar.";
const std::string kNotExtended = "Set the iPad to an extended display and keep your Mac as the main display first.";
const std::string kMirrored = "Set Sidecar to Use As Separate Display first.";
const std::string kNotReady = "The iPad display is not ready yet. Try again.";

const host::IcuTextServices kText("en");

// An extended display beside the Mac; with a change applied, when given.
DisplayInfo external(DisplayID id, std::string name, std::optional<std::string> uuid = std::nullopt,
                     const std::function<void(DisplayInfo&)>& change = {}) {
  DisplayInfo d;
  d.id = id, d.name = std::move(name), d.bounds = Rect(1440, 0, 1366, 1024), d.persistentID = std::move(uuid);
  if (change) change(d);
  return d;
}
const DisplayInfo kMac = external(1, "Built-in Retina Display", "MAC-UUID", [](DisplayInfo& d) {
  d.bounds = Rect(0, 0, 1440, 900), d.builtIn = d.main = true;
});

// The sentence the call throws, or "returned <id>" when it returns.
std::string outcome(const std::function<DisplayInfo()>& find) {
  try {
    return "returned " + std::to_string(find().id);
  } catch (const AppFailure& failure) {
    return failure.localizedDescription();
  }
}

std::string byIdentity(std::optional<std::string> identity, const std::vector<DisplayInfo>& displays) {
  return outcome([&] { return DisplayInfo::findSidecar(kText, identity, displays); });
}

}  // namespace

TEST(TargetDisplay, AGivenIdentityIsTrustedOnlyWhenExactlyOneDisplayCarriesIt) {
  const DisplayInfo monitor = external(2, "LG UltraFine", "MONITOR-UUID"), ipad = external(3, "Sidecar", "IPAD-UUID");
  const struct {
    const char* name;
    std::optional<std::string> identity;
    std::vector<DisplayInfo> displays;
    std::string expected;
  } rows[] = {
      {"name not consulted", "MONITOR-UUID", {kMac, monitor, ipad}, "returned 2"},
      {"the iPad", "IPAD-UUID", {kMac, monitor, ipad}, "returned 3"},
      {"gone", "GONE-UUID", {kMac, monitor, ipad}, kAmbiguous},
      {"compared exactly", "ipad-uuid", {ipad}, kAmbiguous},
      {"no identity never matches", "", {external(4, "iPad without identity")}, kAmbiguous},
      {"shared by two", "IPAD-UUID", {ipad, external(5, "LG UltraFine", "IPAD-UUID")}, kAmbiguous},
      {"validated: mirrored", "IPAD-UUID", {external(3, "Sidecar", "IPAD-UUID", [](auto& d) { d.mirrored = true; })},
       kMirrored},
      {"validated: main", "MAC-UUID", {kMac, ipad}, kNotExtended},
  };
  for (const auto& row : rows) EXPECT_EQ(byIdentity(row.identity, row.displays), row.expected) << row.name;
}

TEST(TargetDisplay, WithoutIdentityTheNameDecides) {
  const DisplayInfo mac = kMac, monitor = external(2, "DELL U2720Q"), sidecar = external(3, "Sidecar Display");
  const DisplayInfo ipad = external(4, "Anna\u2019s IPAD");
  const DisplayInfo builtInSidecar = external(5, "SIDECAR PANEL", {}, [](auto& d) { d.builtIn = true; });
  const DisplayInfo ownByVendor = external(7, "iPad (Turnlet)", {}, [](auto& d) { d.vendor = 0x544C; });
  const DisplayInfo mainIPad = external(4, "iPad", {}, [](auto& d) { d.main = true; });
  const struct {
    const char* name;
    std::vector<DisplayInfo> displays;
    std::string expected;
  } rows[] = {
      {"sidecar", {mac, monitor, sidecar}, "returned 3"},
      {"ipad in capitals", {mac, monitor, ipad}, "returned 4"},
      {"two candidates", {mac, sidecar, ipad}, kSeveral},
      {"none", {mac, monitor}, kNoCandidate},
      {"no displays", {}, kNoCandidate},
      {"built in is no candidate", {mac, builtInSidecar}, kNoCandidate},
      {"own display is no candidate", {external(6, "Turnlet Desktop"), ownByVendor, sidecar}, "returned 3"},
      {"main is validated afterwards", {mainIPad}, kNotExtended},
      {"main still counts as a candidate", {mainIPad, sidecar}, kSeveral},
  };
  for (const auto& row : rows) EXPECT_EQ(byIdentity(std::nullopt, row.displays), row.expected) << row.name;
}

TEST(TargetDisplay, ValidationChecksInOrder) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    std::function<void(DisplayInfo&)> change;
    std::string expected;
  } rows[] = {
      {"extended iPad", [](auto&) {}, "returned 3"},
      {"built in", [](auto& d) { d.builtIn = true; }, kNotExtended},
      {"main", [](auto& d) { d.main = true; }, kNotExtended},
      {"own by name", [](auto& d) { d.name = "Turnlet Desktop"; }, kNotExtended},
      {"own by vendor", [](auto& d) { d.vendor = 0x544C; }, kNotExtended},
      {"mirrored", [](auto& d) { d.mirrored = true; }, kMirrored},
      {"mirrored and main", [](auto& d) { d.mirrored = d.main = true; }, kNotExtended},
      {"mirrored and empty", [](auto& d) { d.mirrored = true, d.bounds = Rect(); }, kMirrored},
      {"zero width", [](auto& d) { d.bounds.size.width = 0; }, kNotReady},
      {"negative height", [](auto& d) { d.bounds.size.height = -1024; }, kNotReady},
      {"NaN height", [&](auto& d) { d.bounds.size.height = nan; }, kNotReady},
  };
  for (const auto& row : rows) {
    const DisplayInfo display = external(3, "Sidecar Display", {}, row.change);
    EXPECT_EQ(outcome([&] { return display.validate(), display; }), row.expected) << row.name;
  }
}

TEST(TargetDisplay, ByDisplayIDFromAFreshSnapshot) {
  sim::ManualLoop loop;
  sim::DisplayServer server(loop);
  std::vector<sim::SimDisplay> displays(3);
  const char* names[] = {"Built-in Retina Display", "DELL U2720Q", "Sidecar Display"};
  for (DisplayID id = 1; id <= 3; ++id)
    displays[id - 1].id = id, displays[id - 1].name = names[id - 1], displays[id - 1].bounds = Rect(0, 0, 1366, 1024);
  displays[0].builtIn = true;
  server.setUp(displays, 1);
  const auto byID = [&](std::optional<DisplayID> id) {
    return outcome([&] { return DisplayInfo::findSidecar(server, kText, id); });
  };

  EXPECT_EQ(byID(2), "returned 2");  // an online id is taken whatever its name
  EXPECT_EQ(byID(1), kNotExtended);  // and validated
  EXPECT_EQ(byID(std::nullopt), "returned 3");
  EXPECT_EQ(byID(99), "returned 3");  // gone offline: back to the name

  server.disconnect(3);
  EXPECT_EQ(byID(3), kNoCandidate);
  const DisplayID again = server.reconnect(3);
  EXPECT_EQ(byID(3), "returned " + std::to_string(again));

  server.failListCount = -1;  // no snapshot at all
  EXPECT_EQ(byID(again), kNoCandidate);
}
