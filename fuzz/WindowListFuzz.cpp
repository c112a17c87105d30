// Window targeting over fuzzed window lists: missing keys, wrong types, NaN, infinite and
// out-of-range numbers. Property: a chosen window is one of the entries, with a number above 0, a
// process id of at least 1 and a finite, non-empty frame that contains the point.
#include <cmath>
#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "injection/TouchWindowTarget.h"

using namespace turnlet;

namespace {

double number(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      return in.ConsumeIntegralInRange<int>(-5, 2000);
    case 1:
      return in.PickValueInArray<double>({0.0, -0.0, NAN, INFINITY, -INFINITY, 2.5, 4294967296.0, 2147483648.0, -1.0,
                                          1e300, 0.01});
    default:
      return in.ConsumeFloatingPoint<double>();
  }
}

WindowListScalar scalar(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: return WindowListOther{};
    case 1: return in.ConsumeRandomLengthString(16);
    default: return number(in);
  }
}

WindowListValue value(FuzzedDataProvider& in, bool rect) {
  if (rect && in.ConsumeBool()) {
    WindowListNested nested;
    for (const char* key : {"X", "Y", "Width", "Height"})
      if (in.ConsumeIntegralInRange<int>(0, 7) != 0) nested[key] = scalar(in);
    return nested;
  }
  return std::visit([](auto&& v) -> WindowListValue { return v; }, scalar(in));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const Point point{number(in), number(in)};
  const Rect within(number(in), number(in), number(in), number(in));
  std::vector<WindowListEntry> list;
  const int count = in.ConsumeIntegralInRange<int>(0, 6);
  for (int i = 0; i < count; ++i) {
    WindowListEntry entry;
    for (const char* key : {windowNumberKey, windowOwnerPIDKey, windowBoundsKey, windowAlphaKey, windowOwnerNameKey})
      if (in.ConsumeIntegralInRange<int>(0, 7) != 0) entry[key] = value(in, std::string(key) == windowBoundsKey);
    list.push_back(std::move(entry));
  }
  if (auto t = TouchWindowTarget::select(point, within, list)) {
    fuzz::check(t->id > 0 && t->pid >= 1, "a target has a window number and a process id");
    fuzz::check(std::isfinite(t->bounds.origin.x) && std::isfinite(t->bounds.size.width) &&
                    std::isfinite(t->bounds.origin.y) && std::isfinite(t->bounds.size.height) &&
                    t->bounds.size.width > 0 && t->bounds.size.height > 0 && t->bounds.contains(point),
                "a target's frame is finite, not empty and under the point");
    bool listed = false;
    for (const auto& e : list) {
      auto n = e.find(windowNumberKey);
      listed = listed || (n != e.end() && std::holds_alternative<double>(n->second) &&
                          std::get<double>(n->second) == double(t->id));
    }
    fuzz::check(listed, "a target is one of the entries");
  }
  return 0;
}
