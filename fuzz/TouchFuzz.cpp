// Touch geometry and momentum over fuzzed doubles (NaN, infinities, huge and tiny values).
// Properties: a source point, when there is one, lies inside the source rectangle; a content
// rectangle lies inside the view; deltas and momentum steps are finite and no faster than the
// momentum's cap.
#include <cmath>
#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "touch/TouchGeometry.h"
#include "touch/TouchMomentum.h"

using namespace turnlet;

namespace {

// Mostly ordinary values, with every kind of extreme reachable.
double number(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      return in.ConsumeFloatingPointInRange<double>(-5000, 5000);
    case 1:
      return static_cast<double>(in.ConsumeIntegral<std::int32_t>());
    case 2:
      return in.PickValueInArray<double>({0.0, -0.0, NAN, INFINITY, -INFINITY, 1e13, -1e13, 1e300, 4.9e-324, 1e-9});
    default:
      return in.ConsumeFloatingPoint<double>();
  }
}

Rect rect(FuzzedDataProvider& in) {
  const double x = number(in), y = number(in), w = number(in), h = number(in);
  return Rect{{x, y}, {w, h}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const auto rotation = in.PickValueInArray({QuarterTurn::normal, QuarterTurn::right, QuarterTurn::inverted,
                                             QuarterTurn::left});
  const Rect view = rect(in);
  const Rect source = rect(in);
  const Point location{number(in), number(in)};
  const auto coordinates = in.ConsumeBool() ? ViewCoordinates::flipped : ViewCoordinates::unflipped;

  if (auto content = TouchGeometry::contentBounds(view, source, rotation)) {
    fuzz::check(std::isfinite(content->origin.x) && std::isfinite(content->size.width) &&
                    std::isfinite(content->origin.y) && std::isfinite(content->size.height),
                "a content rectangle is finite");
    if (auto p = TouchGeometry::sourcePoint(location, *content, source, rotation))
      fuzz::check(source.contains(*p), "a source point lies inside the source");
    if (auto d = TouchGeometry::sourceDelta(Size{number(in), number(in)}, *content, source, rotation))
      fuzz::check(std::isfinite(d->width) && std::isfinite(d->height), "a source delta is finite");
  }
  if (auto p = TouchGeometry::point(location, view, coordinates, source, rotation))
    fuzz::check(source.contains(*p), "a mapped view location lies inside the source");

  TouchMomentum momentum(Size{number(in), number(in)});
  for (int tick = 0; tick < 64 && in.remaining_bytes() > 0; ++tick) {
    const double dt = number(in);
    if (auto step = momentum.advance(dt)) {
      fuzz::check(std::isfinite(step->width) && std::isfinite(step->height), "a momentum step is finite");
      const double distance = std::hypot(step->width, step->height);
      fuzz::check(distance <= TouchMomentum::maximumSpeed * dt * (1 + 1e-9) + 1e-9,
                  "momentum never moves faster than its cap");
    }
  }
  return 0;
}
