#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "display/AppFailure.h"
#include "display/DisplayInfo.h"
#include "host/IcuTextServices.h"
#include "sim/system/ManualLoop.h"
#include "sim/world/World.h"

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
// The iPad chosen by its identity "V", with a change: what validation says of it.
std::vector<DisplayInfo> chosen(const std::function<void(DisplayInfo&)>& change) {
  return {external(3, "Sidecar Display", "V", change)};
}

std::string outcome(const std::function<DisplayInfo()>& find) {
  try {
    return "returned " + std::to_string(find().id);
  } catch (const AppFailure& failure) {
    return failure.localizedDescription();
  }
}

}  // namespace

TEST(TargetDisplay, ChoosingAmongDisplays) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const DisplayInfo mac = external(1, "Built-in Retina Display", "MAC", [](auto& d) { d.builtIn = d.main = true; });
  const DisplayInfo monitor = external(2, "LG UltraFine", "LG"), sidecar = external(3, "Sidecar Display", "IPAD");
  const DisplayInfo ipad = external(4, "Anna\u2019s IPAD");
  const std::optional<std::string> byName;
  const auto builtIn = [](DisplayInfo& d) { d.builtIn = true; };
  const auto main = [](DisplayInfo& d) { d.main = true; };
  const struct {
    const char* name;
    std::optional<std::string> identity;
    std::vector<DisplayInfo> displays;
    std::string expected;
  } rows[] = {
      {"identity: name not consulted", "LG", {mac, monitor, sidecar}, "returned 2"},
      {"identity: gone", "GONE", {mac, monitor, sidecar}, kAmbiguous},
      {"identity: compared exactly", "ipad", {sidecar}, kAmbiguous},
      {"identity: none never matches", "", {ipad}, kAmbiguous},
      {"identity: shared by two", "IPAD", {sidecar, external(5, "LG UltraFine", "IPAD")}, kAmbiguous},
      {"identity: validated", "MAC", {mac, sidecar}, kNotExtended},
      {"name: sidecar", byName, {mac, monitor, sidecar}, "returned 3"},
      {"name: ipad in capitals", byName, {mac, monitor, ipad}, "returned 4"},
      {"name: two candidates", byName, {mac, sidecar, ipad}, kSeveral},
      {"name: none", byName, {mac, monitor}, kNoCandidate},
      {"name: built in is no candidate", byName, {external(5, "SIDECAR", {}, builtIn)}, kNoCandidate},
      {"name: own display is no candidate",
       byName,
       {external(6, "Turnlet Desktop"), external(7, "iPad", {}, [](auto& d) { d.vendor = 0x544C; }), sidecar},
       "returned 3"},
      {"name: main is validated afterwards", byName, {external(4, "iPad", {}, main)}, kNotExtended},
      {"name: main still counts", byName, {external(4, "iPad", {}, main), sidecar}, kSeveral},
      {"valid", "V", chosen([](auto&) {}), "returned 3"},
      {"built in", "V", chosen(builtIn), kNotExtended},
      {"main", "V", chosen(main), kNotExtended},
      {"own by name", "V", chosen([](auto& d) { d.name = "Turnlet Desktop"; }), kNotExtended},
      {"own name is exact", "V", chosen([](auto& d) { d.name = "turnlet desktop"; }), "returned 3"},
      {"own by vendor", "V", chosen([](auto& d) { d.vendor = 0x544C; }), kNotExtended},
      {"mirrored", "V", chosen([](auto& d) { d.mirrored = true; }), kMirrored},
      {"mirrored and main", "V", chosen([](auto& d) { d.mirrored = d.main = true; }), kNotExtended},
      {"mirrored and empty", "V", chosen([](auto& d) { d.mirrored = true, d.bounds = Rect(); }), kMirrored},
      {"zero width", "V", chosen([](auto& d) { d.bounds.size.width = 0; }), kNotReady},
      {"negative height", "V", chosen([](auto& d) { d.bounds.size.height = -1024; }), kNotReady},
      {"NaN height", "V", chosen([&](auto& d) { d.bounds.size.height = nan; }), kNotReady},
  };
  for (const auto& row : rows)
    EXPECT_EQ(outcome([&] { return DisplayInfo::findSidecar(kText, row.identity, row.displays); }), row.expected)
        << row.name;
}

TEST(TargetDisplay, ByDisplayIDFromAFreshSnapshot) {
  sim::ManualLoop loop;
  sim::World world(loop);  // the built-in Mac (1) and a Sidecar iPad (2)
  sim::SimDisplay monitor;
  monitor.name = "DELL U2720Q", monitor.bounds = Rect(-2560, 0, 2560, 1440);
  world.displays.connect(monitor);
  const auto byID = [&](std::optional<DisplayID> id) {
    return outcome([&] { return DisplayInfo::findSidecar(world.displays, kText, id); });
  };
  EXPECT_EQ(byID(3), "returned 3");  // an online id is taken whatever its name
  EXPECT_EQ(byID(1), kNotExtended);  // and validated
  EXPECT_EQ(byID(std::nullopt), "returned 2");
  EXPECT_EQ(byID(99), "returned 2");  // gone offline: back to the name

  world.displays.disconnect(2);
  EXPECT_EQ(byID(2), kNoCandidate);
  const DisplayID again = world.displays.reconnect(2);
  EXPECT_EQ(byID(2), "returned " + std::to_string(again));
}
