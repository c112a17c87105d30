// The display snapshot and the listing over a fuzzed simulated display list: odd UTF-8 and
// control characters in names, NaN, infinite and huge bounds, failing list calls and displays
// that vanish between the counting and the filling call. Properties: the snapshot never holds a
// display that is gone, and the listing prints one line per display in it.
#include <cmath>
#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "ListingCheck.h"
#include "display/DisplayInfo.h"
#include "sim/world/DisplayServer.h"
#include "sim/system/ManualLoop.h"

using namespace turnlet;

namespace {

double coordinate(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) return in.ConsumeIntegralInRange<int>(-4000, 4000);
  return in.PickValueInArray<double>({NAN, INFINITY, -INFINITY, 1e300, -1e300, 9.3e18, -0.0, 2147483648.0});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  sim::ManualLoop loop;
  sim::DisplayServer server(loop);
  std::vector<sim::SimDisplay> displays;
  const int count = in.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < count; ++i) {
    sim::SimDisplay d;
    d.id = static_cast<DisplayID>(i + 1 + in.ConsumeIntegralInRange(0, 3) * 100);
    if (std::any_of(displays.begin(), displays.end(), [&](auto& o) { return o.id == d.id; })) continue;
    d.name = in.ConsumeRandomLengthString(40);
    d.bounds = Rect(coordinate(in), coordinate(in), coordinate(in), coordinate(in));
    d.vendor = in.ConsumeIntegral<std::uint32_t>();
    d.builtIn = in.ConsumeBool();
    d.mirrored = in.ConsumeBool();
    d.hasScreen = in.ConsumeBool();
    displays.push_back(d);
  }
  server.setUp(displays, displays.empty() ? 0 : displays[0].id);
  if (in.ConsumeBool()) server.failListCount = -1;
  if (in.ConsumeBool()) server.failListFill = -1;
  const int vanishing = in.ConsumeIntegralInRange(0, count);
  server.betweenListCalls = [&] {
    if (vanishing < static_cast<int>(displays.size())) server.disconnect(displays[vanishing].id);
    server.betweenListCalls = nullptr;
  };

  const auto snapshot = DisplayInfo::online(server);
  for (const DisplayInfo& d : snapshot) fuzz::check(server.find(d.id) != nullptr, "the snapshot holds only online displays");
  server.failListCount.reset();
  server.failListFill.reset();
  server.betweenListCalls = nullptr;
  fuzz::checkListing(server, server.displays().size());
  return 0;
}
