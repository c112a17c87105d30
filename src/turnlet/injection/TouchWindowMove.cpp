#include "injection/TouchWindowMove.h"

#include <cmath>
#include <limits>

namespace turnlet {

namespace {

bool finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

template <class V>
std::optional<V> attribute(Accessibility& ax, const AccessibilityElementRef& element, const char* name) {
  AccessibilityValue value;
  if (ax.copyAttributeValue(element, name, value) != accessibilitySuccess) return std::nullopt;
  if (auto* v = std::get_if<V>(&value.value)) return *v;
  return std::nullopt;
}

// The element at the point of the target's application, when it belongs to the target's process.
AccessibilityElementRef elementAt(Point point, const TouchWindowTarget& target, Accessibility& ax,
                                  AccessibilityElementRef& application) {
  auto coordinates = floatCoordinates(point);
  if (!coordinates) return nullptr;
  application = ax.createApplication(target.pid);
  if (!application) return nullptr;
  ax.setMessagingTimeout(application, TouchWindowMove::messagingTimeout);
  AccessibilityElementRef element;
  if (ax.copyElementAtPosition(application, coordinates->first, coordinates->second, element) != accessibilitySuccess ||
      !element)
    return nullptr;
  ax.setMessagingTimeout(element, TouchWindowMove::messagingTimeout);
  ProcessID pid = 0;
  if (ax.getPid(element, pid) != accessibilitySuccess || pid != target.pid) return nullptr;
  return element;
}

}  // namespace

std::optional<std::pair<float, float>> floatCoordinates(Point point) {
  constexpr double largest = std::numeric_limits<float>::max();
  if (!finite(point) || std::fabs(point.x) > largest || std::fabs(point.y) > largest) return std::nullopt;
  return std::pair{static_cast<float>(point.x), static_cast<float>(point.y)};
}

bool TouchWindowMove::isTitlebarContainer(Accessibility& ax, const AccessibilityElementRef& element) {
  auto role = attribute<std::string>(ax, element, "AXRole");
  return role && (*role == "AXWindow" || *role == "AXToolbar" || *role == "AXStaticText" || *role == "AXGroup");
}

std::vector<AccessibilityElementRef> TouchWindowMove::windows(Accessibility& ax,
                                                              const AccessibilityElementRef& application) {
  std::vector<AccessibilityElementRef> result;
  auto list = attribute<std::vector<AccessibilityValue>>(ax, application, "AXWindows");
  if (!list) return result;
  for (const auto& item : *list) {
    if (auto* element = std::get_if<AccessibilityElementRef>(&item.value); element && *element)
      result.push_back(*element);
  }
  return result;
}

std::optional<Point> TouchWindowMove::position(Accessibility& ax, const AccessibilityElementRef& window) {
  auto p = attribute<Point>(ax, window, "AXPosition");
  if (!p || !finite(*p)) return std::nullopt;
  return p;
}

std::shared_ptr<TouchWindowMove> TouchWindowMove::begin(Point point, const TouchWindowTarget& target,
                                                        WindowMoveServices services) {
  const Rect& b = target.bounds;
  if (!finite(point) || target.pid < 1 || !std::isfinite(b.origin.x) || !std::isfinite(b.origin.y) ||
      !std::isfinite(b.size.width) || !std::isfinite(b.size.height) || !(b.size.width > 0) || !(b.size.height > 0) ||
      !b.contains(point) || point.y > b.minY() + titleBarBand)
    return nullptr;
  Accessibility& ax = services.accessibility;
  AccessibilityElementRef application;
  auto element = elementAt(point, target, ax, application);
  if (!element || !isTitlebarContainer(ax, element)) return nullptr;

  AccessibilityElementRef window;
  auto candidates = windows(ax, application);
  if (candidates.size() > windowsExamined) candidates.resize(windowsExamined);
  for (const auto& candidate : candidates) {
    ProcessID pid = 0;
    if (ax.getPid(candidate, pid) != accessibilitySuccess || pid != target.pid) continue;
    ax.setMessagingTimeout(candidate, messagingTimeout);
    auto origin = attribute<Point>(ax, candidate, "AXPosition");
    auto size = attribute<Size>(ax, candidate, "AXSize");
    if (!origin || !size || !finite(*origin) || !std::isfinite(size->width) || !std::isfinite(size->height) ||
        !(size->width > 0) || !(size->height > 0))
      continue;
    if (std::fabs(origin->x - b.minX()) <= frameTolerance && std::fabs(origin->y - b.minY()) <= frameTolerance &&
        std::fabs(size->width - b.width()) <= frameTolerance && std::fabs(size->height - b.height()) <= frameTolerance) {
      window = candidate;
      break;
    }
  }
  if (!window) return nullptr;
  auto initial = position(ax, window);
  if (!initial) return nullptr;
  ax.setMessagingTimeout(window, messagingTimeout);
  bool settable = false;
  if (ax.isAttributeSettable(window, "AXPosition", settable) != accessibilitySuccess || !settable) return nullptr;
  // A window dragged by its title bar comes forward, as it does under the mouse; moving it through
  // Accessibility alone would leave it behind the others. A window that cannot be raised still moves.
  ax.performAction(window, raiseAction);
  return std::make_shared<TouchWindowMove>(Passkey{}, window, *initial, point, services);
}

TouchWindowMove::TouchWindowMove(Passkey, AccessibilityElementRef window, Point initialPosition,
                                 Point initialFingerPoint, WindowMoveServices services)
    : window(window), initialPosition(initialPosition), initialFingerPoint(initialFingerPoint) {
  // The write runs on the writer's queue; failures are ignored.
  Accessibility* ax = &services.accessibility;
  positionWriter = LatestValueWriter<Point>::make(
      services.queues, services.clock, writesPerSecond, "TouchWindowMove.AXPosition",
      [ax, window](const Point& position) { ax->setAttributeValue(window, "AXPosition", AccessibilityValue{position}); });
}

bool TouchWindowMove::update(Point point) {
  if (!finite(point)) return false;
  const Size d{point.x - initialFingerPoint.x, point.y - initialFingerPoint.y};
  const Point next{initialPosition.x + d.width, initialPosition.y + d.height};
  if (!std::isfinite(d.width) || !std::isfinite(d.height) || !finite(next)) return false;
  // Compared with the last position asked for, not the initial one: a finger that comes back to
  // where it started must bring the window back too.
  if (next == lastSubmitted.value_or(initialPosition)) return true;
  lastSubmitted = next;
  positionWriter->submit(next);
  return true;
}

void TouchWindowMove::finish(std::optional<Point> point) {
  finishing = true;
  if (point) update(*point);
  positionWriter->finish();
}

void TouchWindowMove::cancel() { positionWriter->cancel(); }

std::shared_ptr<TouchWindowMove> TouchMotionGroup::begin(Point point, const TouchWindowTarget& target) {
  std::erase_if(list, [](const auto& move) { return move->writer()->isIdle(); });
  auto move = TouchWindowMove::begin(point, target, services);
  if (move) list.push_back(move);
  return move;
}

void TouchMotionGroup::cancelAll(bool unfinishedOnly) {
  for (const auto& move : list)
    if (!unfinishedOnly || !move->isFinishing()) move->cancel();
}

Task<void> TouchMotionGroup::waitForIdle() {
  auto taken = std::exchange(list, {});
  if (taken.empty()) co_return;
  for (const auto& move : taken) move->cancel();
  for (const auto& move : taken) co_await move->writer()->cancelAndWait();
}

bool TouchAccessibility::press(Point point, const TouchWindowTarget& target, Accessibility& ax) {
  if (!finite(point) || target.pid < 1) return false;
  AccessibilityElementRef application;
  auto element = elementAt(point, target, ax, application);
  if (!element) return false;
  for (int tried = 0; tried < elementsTried; ++tried) {
    ax.setMessagingTimeout(element, TouchWindowMove::messagingTimeout);
    AccessibilityValue enabled;
    if (ax.copyAttributeValue(element, "AXEnabled", enabled) == accessibilitySuccess) {
      const bool* flag = std::get_if<bool>(&enabled.value);
      const double* number = std::get_if<double>(&enabled.value);
      if ((flag && *flag) || (number && *number != 0)) {
        AccessibilityValue names;
        if (ax.copyActionNames(element, names) == accessibilitySuccess) {
          bool offersPress = false;
          if (auto* list = std::get_if<std::vector<AccessibilityValue>>(&names.value)) {
            for (const auto& name : *list) {
              auto* text = std::get_if<std::string>(&name.value);
              offersPress = offersPress || (text && *text == "AXPress");
            }
          }
          if (offersPress && ax.performAction(element, "AXPress") == accessibilitySuccess) return true;
        }
      }
    }
    auto parent = attribute<AccessibilityElementRef>(ax, element, "AXParent");
    if (!parent || !*parent) return false;
    ProcessID pid = 0;
    if (ax.getPid(*parent, pid) != accessibilitySuccess || pid != target.pid) return false;
    element = *parent;
  }
  return false;
}

}  // namespace turnlet
