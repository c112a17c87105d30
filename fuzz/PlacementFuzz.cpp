// Placement over fuzzed origins (NaN, infinite, beyond 32 bits, halves) and failing steps.
// Properties: either every listed display moves to its rounded origin, or an AppFailure is thrown
// and every display stays where it was; the transaction never stays open.
#include <cmath>
#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "display/AppFailure.h"
#include "display/DisplayLayout.h"
#include "sim/world/DisplayServer.h"
#include "sim/system/ManualLoop.h"

using namespace turnlet;

namespace {

double origin(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return in.ConsumeIntegralInRange(-3000, 3000) + 0.5 * in.ConsumeIntegralInRange(-1, 1);
    case 1:
      return in.PickValueInArray<double>({NAN, INFINITY, -INFINITY, 2147483647.5, -2147483648.5, 2147483647.4, -2147483648.4,
                                  1e300, -0.0});
    default:
      return in.ConsumeFloatingPoint<double>();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  sim::ManualLoop loop;
  sim::DisplayServer server(loop);
  std::vector<sim::SimDisplay> displays(3);
  for (int i = 0; i < 3; ++i) {
    displays[i].id = static_cast<DisplayID>(i + 1);
    displays[i].bounds = Rect(1000.0 * i, 0, 1000, 800);
  }
  server.setUp(displays, 1);
  // A failing step fails with a platform code, never with 0 (success).
  auto code = [&] { return in.ConsumeIntegralInRange<DisplayError>(1, 1100); };
  if (in.ConsumeBool()) server.failBegin = code();
  if (in.ConsumeBool()) server.beginWithoutConfiguration = true;
  if (in.ConsumeBool()) server.failOrigin = std::pair{in.ConsumeIntegralInRange(0, 3), code()};
  if (in.ConsumeBool()) server.failComplete = code();

  std::vector<std::pair<DisplayID, Point>> origins;
  const int count = in.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < count; ++i)
    origins.push_back({static_cast<DisplayID>(in.ConsumeIntegralInRange(1, 4)), Point{origin(in), origin(in)}});

  const auto before = server.displays();
  bool placed = true;
  try {
    DisplayLayout::place(server, origins);
  } catch (const AppFailure& failure) {
    placed = false;
    fuzz::check(failure.message().find('\n') == std::string::npos, "a placement failure is one sentence");
  }
  fuzz::check(!server.configurationOpen(), "no configuration stays open");
  const auto after = server.displays();
  if (!placed) {
    for (std::size_t i = 0; i < before.size(); ++i)
      fuzz::check(after[i].bounds == before[i].bounds, "a failed placement moves nothing");
    return 0;
  }
  for (const auto& [id, point] : origins) {
    const sim::SimDisplay* d = server.find(id);
    if (!d) continue;
    // The last origin given for a display wins.
    Point wanted = point;
    for (const auto& [otherID, otherPoint] : origins)
      if (otherID == id) wanted = otherPoint;
    fuzz::check(d->bounds.origin.x == std::round(wanted.x) && d->bounds.origin.y == std::round(wanted.y),
                "a placed display sits at its origin rounded half away from zero");
  }
  return 0;
}
