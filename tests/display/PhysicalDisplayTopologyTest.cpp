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

sim::SimDisplay simDisplay(DisplayID id, std::string name, Rect bounds, std::uint32_t vendor,
                           std::optional<std::string> uuid) {
  sim::SimDisplay d;
  d.id = id, d.name = std::move(name), d.bounds = bounds, d.vendor = vendor, d.uuid = std::move(uuid);
  return d;
}

std::vector<DisplayInfo> usualDisplays() {
  DisplayInfo mac = display(1, "Built-in Retina Display", Rect(0, 0, 1440, 900), 0x0610, "MAC");
  mac.builtIn = mac.main = true;
  return {mac, display(7, "Sidecar Display", Rect(1440, 0, 1366, 1024), 0x0610, "IPAD"),
          display(4, "DELL U2720Q", Rect(-2560, 0, 2560, 1440), 0x10AC)};
}

DisplayInfo& withID(std::vector<DisplayInfo>& displays, DisplayID id) {
  for (DisplayInfo& d : displays)
    if (d.id == id) return d;
  throw std::logic_error("no display with that id");
}

}  // namespace

TEST(PhysicalDisplayTopology, EntriesAreThePhysicalDisplaysByID) {
  std::vector<DisplayInfo> displays = usualDisplays();
  displays.push_back(display(2, "Turnlet Desktop", Rect(1440, 0, 1024, 1366)));
  displays.push_back(display(3, "Something", Rect(0, 0, 800, 600), 0x544C));
  const PhysicalDisplayTopology topology(displays);
  ASSERT_EQ(topology.entries.size(), 3u);
  EXPECT_EQ(topology.entries[0], (PhysicalDisplayTopology::Entry{1, "MAC", 0x0610, 1440, 900, true, true, false}));
  EXPECT_EQ(topology.entries[1],
            (PhysicalDisplayTopology::Entry{4, std::nullopt, 0x10AC, 2560, 1440, false, false, false}));
  EXPECT_EQ(topology.entries[2], (PhysicalDisplayTopology::Entry{7, "IPAD", 0x0610, 1366, 1024, false, false, false}));
}

TEST(PhysicalDisplayTopology, OnlyRealChangesMakeItDiffer) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const PhysicalDisplayTopology base(usualDisplays());
  const struct {
    const char* name;
    std::function<void(std::vector<DisplayInfo>&)> change;
    bool equal;
  } rows[] = {
      {"nothing", [](auto&) {}, true},
      {"moved", [](auto& d) { withID(d, 7).bounds.origin = {-1366, -1024}; }, true},
      {"renamed", [](auto& d) { withID(d, 7).name = "Anna's iPad"; }, true},
      {"listed in another order", [](auto& d) { std::swap(d[0], d[2]); }, true},
      {"virtual display appears",
       [](auto& d) { d.push_back(display(9, "Turnlet Desktop", Rect(1440, 0, 1024, 1366))); }, true},
      {"resized", [](auto& d) { withID(d, 7).bounds.size.width = 1024; }, false},
      {"made main", [](auto& d) { withID(d, 7).main = true; }, false},
      {"mirrored", [](auto& d) { withID(d, 7).mirrored = true; }, false},
      {"built-in flag", [](auto& d) { withID(d, 4).builtIn = true; }, false},
      {"vendor", [](auto& d) { withID(d, 4).vendor = 1; }, false},
      {"identity appears", [](auto& d) { withID(d, 4).persistentID = "DELL"; }, false},
      {"identity changes", [](auto& d) { withID(d, 7).persistentID = "OTHER"; }, false},
      {"reconnected under a new id", [](auto& d) { withID(d, 7).id = 8; }, false},
      {"removed", [](auto& d) { d.pop_back(); }, false},
      {"added", [](auto& d) { d.push_back(display(12, "Display 12", Rect(0, 0, 800, 600))); }, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<DisplayInfo> displays = usualDisplays();
    row.change(displays);
    EXPECT_EQ(PhysicalDisplayTopology(displays) == base, row.equal);
  }

  // A display reporting an odd size must not look like a change every time it is compared.
  std::vector<DisplayInfo> odd = usualDisplays();
  withID(odd, 4).bounds.size.height = nan;
  EXPECT_EQ(PhysicalDisplayTopology(odd), PhysicalDisplayTopology(odd));
  EXPECT_NE(PhysicalDisplayTopology(odd), base);
}

TEST(PhysicalDisplayTopology, TheProgramsOwnLayoutChangesAreNoChange) {
  sim::ManualLoop loop;
  sim::DisplayServer server(loop);
  server.setUp({simDisplay(1, "Built-in", Rect(0, 0, 1440, 900), 0x0610, "MAC"),
                simDisplay(2, "Sidecar Display", Rect(1440, 0, 1366, 1024), 0x0610, "IPAD")},
               1);
  const PhysicalDisplayTopology before(DisplayInfo::online(server));

  server.connect(simDisplay(3, "Turnlet Desktop", Rect(4000, 0, 1024, 1366), 0x544C, std::nullopt));
  DisplayLayout::place(server, {{3, {1440, 0}}, {2, {-1366, -1024}}});
  EXPECT_EQ(PhysicalDisplayTopology(DisplayInfo::online(server)), before);

  const DisplayID again = server.reconnect((server.disconnect(2), 2));
  EXPECT_NE(again, 2u);
  EXPECT_NE(PhysicalDisplayTopology(DisplayInfo::online(server)), before);
}
