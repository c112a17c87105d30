// Window moves and control presses over fuzzed accessibility answers: attribute values of any
// type, failing calls, another process, null elements, points beyond a float. Property: a move
// starts only on the title-bar band of the target, and a press succeeds only when an element
// really performed it.
#include <cmath>
#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "injection/TouchWindowMove.h"
#include "sim/system/ManualLoop.h"
#include "sim/system/ManualSerialQueue.h"
#include "sim/world/World.h"

using namespace turnlet;

namespace {

double number(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) return in.ConsumeIntegralInRange<int>(1400, 2000);
  return in.PickValueInArray<double>({0.0, NAN, INFINITY, -INFINITY, 1e39, -1e39, 4e38, 1e300});
}

AccessibilityValue value(FuzzedDataProvider& in, int depth = 0) {
  switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return {AccessibilityValue::Other{}};
    case 1: return {in.PickValueInArray<std::string>({"AXWindow", "AXButton", "AXPress", "AXGroup", ""})};
    case 2: return {in.ConsumeBool()};
    case 3: return {number(in)};
    case 4: return {Point{number(in), number(in)}};
    case 5: return {Size{number(in), number(in)}};
    case 6: return {AccessibilityElementRef{}};
    default: {
      std::vector<AccessibilityValue> list;
      if (depth < 2)
        for (int i = in.ConsumeIntegralInRange<int>(0, 3); i > 0; --i) list.push_back(value(in, depth + 1));
      return {list};
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  sim::ManualLoop loop;
  sim::World world(loop);
  sim::ManualQueueFactory queues(loop);
  sim::SimAppWindow window{7, "", Rect(1500, 100, 400, 300)};
  window.elements = {sim::SimElement{"AXButton", Rect(20, 60, 100, 30)}};
  window.positionSettable = in.ConsumeBool();
  world.windows.applications = {sim::SimApplication{700, "Editor", {window}}};
  auto& ax = world.accessibility;
  for (const char* attribute : {"AXRole", "AXWindows", "AXPosition", "AXSize", "AXEnabled", "AXParent"})
    if (in.ConsumeIntegralInRange<int>(0, 3) == 0) ax.replaced[attribute] = value(in);
  for (const char* call : {"copyElementAtPosition", "getPid", "isAttributeSettable", "copyActionNames", "performAction"})
    if (in.ConsumeIntegralInRange<int>(0, 7) == 0) ax.failing[call] = accessibilityFailure;
  if (in.ConsumeIntegralInRange<int>(0, 7) == 0) ax.wrongPid = 701;
  if (in.ConsumeIntegralInRange<int>(0, 7) == 0) ax.nullElement = true;
  if (in.ConsumeBool()) ax.actionNames = value(in);
  const TouchWindowTarget target{7, in.PickValueInArray<ProcessID>({700, 0, -1, 701}),
                                 in.ConsumeBool() ? window.bounds : Rect(number(in), number(in), number(in), number(in))};
  const Point point{number(in), number(in)};
  if (auto move = TouchWindowMove::begin(point, target, {queues, loop, ax})) {
    fuzz::check(target.bounds.contains(point) && point.y <= target.bounds.minY() + TouchWindowMove::titleBarBand,
                "a move starts on the title-bar band");
    move->update({number(in), number(in)});
    move->finish(Point{number(in), number(in)});
    for (int i = 0; i < 4; ++i) loop.advance(0.02), queues.drainAll();
  }
  const bool pressed = TouchAccessibility::press(point, target, ax);
  fuzz::check(!pressed || world.windows.appWindow(7)->elements[0].presses == 1, "a press that succeeded pressed");
  return 0;
}
