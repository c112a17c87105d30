#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "display/DisplayInfo.h"
#include "display/DisplayLayout.h"
#include "display/PhysicalDisplayTopology.h"
#include "sim/DisplayServer.h"
#include "sim/ManualLoop.h"

using namespace turnlet;

namespace {

DisplayInfo display(DisplayID id, std::string name, Rect bounds, std::uint32_t vendor = 0x0610,
                    std::optional<std::string> persistentID = std::nullopt) {
  DisplayInfo d;
  d.id = id, d.name = std::move(name), d.bounds = bounds, d.vendor = vendor, d.persistentID = std::move(persistentID);
  return d;
}

// The Mac (1), the iPad (7) and a monitor without identity (4), not in id order.
std::vector<DisplayInfo> usualDisplays() {
  DisplayInfo mac = display(1, "Built-in Retina Display", Rect(0, 0, 1440, 900), 0x0610, "MAC");
  mac.builtIn = mac.main = true;
  return {mac, display(7, "Sidecar Display", Rect(1440, 0, 1366, 1024), 0x0610, "IPAD"),
          display(4, "DELL U2720Q", Rect(-2560, 0, 2560, 1440), 0x10AC)};
}

}  // namespace

TEST(PhysicalDisplayTopology, EntriesAreThePhysicalDisplaysByID) {
  std::vector<DisplayInfo> displays = usualDisplays();
  displays.push_back(display(2, "Turnlet Desktop", Rect(1440, 0, 1024, 1366)));
  displays.push_back(display(3, "Something", Rect(0, 0, 800, 600), 0x544C));
  using Entry = PhysicalDisplayTopology::Entry;
  EXPECT_EQ(PhysicalDisplayTopology(displays).entries,
            (std::vector<Entry>{Entry{1, "MAC", 0x0610, 1440, 900, true, true, false},
                                Entry{4, std::nullopt, 0x10AC, 2560, 1440, false, false, false},
                                Entry{7, "IPAD", 0x0610, 1366, 1024, false, false, false}}));
}

TEST(PhysicalDisplayTopology, OnlyRealChangesMakeItDiffer) {
  using Displays = std::vector<DisplayInfo>;
  const PhysicalDisplayTopology base(usualDisplays());
  const struct {
    const char* name;
    std::function<void(Displays&)> change;
    bool equal;
  } rows[] = {
      {"moved", [](Displays& d) { d[1].bounds.origin = {-1366, -1024}; }, true},
      {"renamed", [](Displays& d) { d[1].name = "Anna's iPad"; }, true},
      {"listed in another order", [](Displays& d) { std::swap(d[0], d[2]); }, true},
      {"virtual display appears",
       [](Displays& d) { d.push_back(display(9, "Turnlet Desktop", Rect(1440, 0, 1024, 1366))); }, true},
      {"resized", [](Displays& d) { d[1].bounds.size.width = 1024; }, false},
      {"made main", [](Displays& d) { d[1].main = true; }, false},
      {"mirrored", [](Displays& d) { d[1].mirrored = true; }, false},
      {"built-in flag", [](Displays& d) { d[2].builtIn = true; }, false},
      {"vendor", [](Displays& d) { d[2].vendor = 1; }, false},
      {"identity appears", [](Displays& d) { d[2].persistentID = "DELL"; }, false},
      {"identity changes", [](Displays& d) { d[1].persistentID = "OTHER"; }, false},
      {"reconnected under a new id", [](Displays& d) { d[1].id = 8; }, false},
      {"removed", [](Displays& d) { d.pop_back(); }, false},
  };
  for (const auto& row : rows) {
    Displays displays = usualDisplays();
    row.change(displays);
    EXPECT_EQ(PhysicalDisplayTopology(displays) == base, row.equal) << row.name;
  }

  // A display reporting an odd size must not look like a change every time it is compared.
  Displays odd = usualDisplays();
  odd[2].bounds.size.height = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(PhysicalDisplayTopology(odd), PhysicalDisplayTopology(odd));
  EXPECT_NE(PhysicalDisplayTopology(odd), base);
}

TEST(PhysicalDisplayTopology, TheProgramsOwnLayoutChangesAreNoChange) {
  sim::ManualLoop loop;
  sim::DisplayServer server(loop);
  const auto simDisplay = [](DisplayID id, std::string name, Rect bounds, std::uint32_t vendor) {
    sim::SimDisplay d;
    d.uuid = name + " UUID", d.id = id, d.name = std::move(name), d.bounds = bounds, d.vendor = vendor;
    return d;
  };
  server.setUp({simDisplay(1, "Built-in", Rect(0, 0, 1440, 900), 0x0610),
                simDisplay(2, "Sidecar Display", Rect(1440, 0, 1366, 1024), 0x0610)},
               1);
  const PhysicalDisplayTopology before(DisplayInfo::online(server));

  server.connect(simDisplay(3, "Turnlet Desktop", Rect(4000, 0, 1024, 1366), 0x544C));
  DisplayLayout::place(server, {{3, {1440, 0}}, {2, {-1366, -1024}}});
  EXPECT_EQ(PhysicalDisplayTopology(DisplayInfo::online(server)), before);

  server.disconnect(2);
  server.reconnect(2);
  EXPECT_NE(PhysicalDisplayTopology(DisplayInfo::online(server)), before);
}
