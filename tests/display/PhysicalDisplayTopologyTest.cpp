#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "display/PhysicalDisplayTopology.h"

using namespace turnlet;

namespace {

DisplayInfo display(DisplayID id, std::string name, Rect bounds, std::uint32_t vendor = 0x0610,
                    std::optional<std::string> persistentID = std::nullopt) {
  DisplayInfo d;
  d.id = id, d.name = std::move(name), d.bounds = bounds, d.vendor = vendor, d.persistentID = std::move(persistentID);
  return d;
}

// The Mac, the iPad, a monitor without identity, and the program's own display by name and by vendor.
std::vector<DisplayInfo> usualDisplays() {
  DisplayInfo mac = display(1, "Built-in Retina Display", Rect(0, 0, 1440, 900), 0x0610, "MAC");
  mac.builtIn = mac.main = true;
  return {mac, display(7, "Sidecar Display", Rect(1440, 0, 1366, 1024), 0x0610, "IPAD"),
          display(4, "DELL U2720Q", Rect(-2560, 0, 2560, 1440), 0x10AC),
          display(2, "Turnlet Desktop", Rect(1440, 0, 1024, 1366)), display(3, "Other", Rect(0, 0, 8, 6), 0x544C)};
}

}  // namespace

TEST(PhysicalDisplayTopology, OnlyRealChangesMakeItDiffer) {
  using Displays = std::vector<DisplayInfo>;
  const PhysicalDisplayTopology base(usualDisplays());
  const struct {
    const char* name;
    std::function<void(Displays&)> change;
    bool equal;
  } rows[] = {
      {"moved", [](Displays& d) { d[1].bounds.origin = Point{-1366, -1024}; }, true},
      {"renamed", [](Displays& d) { d[1].name = "Anna's iPad"; }, true},
      {"listed in another order", [](Displays& d) { std::swap(d[0], d[2]); }, true},
      {"virtual display gone", [](Displays& d) { d.pop_back(), d.pop_back(); }, true},
      {"only the virtual display changes", [](Displays& d) { d[3].bounds.size = {1, 1}, d[4].main = true; }, true},
      {"resized", [](Displays& d) { d[1].bounds.size.width = 1024; }, false},
      {"made main", [](Displays& d) { d[1].main = true; }, false},
      {"mirrored", [](Displays& d) { d[1].mirrored = true; }, false},
      {"built-in flag", [](Displays& d) { d[2].builtIn = true; }, false},
      {"vendor", [](Displays& d) { d[2].vendor = 1; }, false},
      {"identity appears", [](Displays& d) { d[2].persistentID = "DELL"; }, false},
      {"identity changes", [](Displays& d) { d[1].persistentID = "OTHER"; }, false},
      {"reconnected under a new id", [](Displays& d) { d[1].id = 8; }, false},
      {"removed", [](Displays& d) { d.erase(d.begin() + 2); }, false},
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
