#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/InputEvents.h"
#include "platform/MainLoop.h"

namespace turnlet::sim {

class SimEventSource : public EventSource {
 public:
  void setLocalEventsSuppressionInterval(double seconds) override { suppressionInterval = seconds; }
  void setLocalEventsFilterDuringSuppressionState(std::uint32_t filter, EventSuppressionState state) override {
    filters[state] = filter;
  }
  std::optional<double> suppressionInterval;
  std::map<EventSuppressionState, std::uint32_t> filters;
};

// An event with every field the program set, as a test reads it back.
struct SimInputEvent final : InputEvent {
  bool isScroll = false;
  MouseEventType type = MouseEventType::mouseMoved;  // mouse events
  Point factoryLocation;                              // window-local, from the mouse factory
  std::uint64_t modifierFlags = 0;
  double timestamp = 0;
  WindowNumber windowNumber = 0;
  std::int64_t clickCount = 0;
  float pressure = 0;
  ScrollEventUnit units = ScrollEventUnit::pixel;  // scroll events
  std::uint32_t wheelCount = 0;
  std::array<std::int32_t, 3> wheels{};
  std::shared_ptr<EventSource> source;  // set by setSource, or the creating source
  std::optional<std::uint64_t> flags;
  std::optional<Point> location;
  std::optional<Point> windowLocation;  // set by the looked-up setter
  std::map<EventField, std::int64_t> fields;

  void setSource(const std::shared_ptr<EventSource>& s) override { source = s; }
  void setFlags(std::uint64_t f) override { flags = f; }
  void setLocation(Point p) override { location = p; }
  void setIntegerValueField(EventField field, std::int64_t value) override { fields[field] = value; }
  std::int64_t field(EventField f) const {
    auto it = fields.find(f);
    return it == fields.end() ? 0 : it->second;
  }
};

struct PostedEvent {
  ProcessID pid = 0;
  SimInputEvent event;
  double at = 0;  // the clock's time when it was posted (0 without a clock)
};

// Event creation and delivery of the simulated Mac: every event posted to a process is recorded
// with all its fields. Main loop only.
class SimInputEvents : public InputEvents {
 public:
  std::shared_ptr<EventSource> createEventSource(EventSourceState state) override;
  std::unique_ptr<InputEvent> mouseEvent(MouseEventType type, Point windowLocation, std::uint64_t modifierFlags,
                                         double timestamp, WindowNumber windowNumber, std::int64_t clickCount,
                                         float pressure) override;
  std::unique_ptr<InputEvent> createScrollWheelEvent2(const std::shared_ptr<EventSource>& source, ScrollEventUnit units,
                                                      std::uint32_t wheelCount, std::int32_t wheel1,
                                                      std::int32_t wheel2, std::int32_t wheel3) override;
  void postToPid(ProcessID pid, InputEvent& event) override;
  double doubleClickInterval() override { return clickInterval; }
  // Stores the point in the event's windowLocation.
  std::optional<EventWindowLocationSetter> windowLocationSetter(LoadedLibrary& library,
                                                                const std::string& symbol) override;

  // Controls and faults.
  const MainLoop* clock = nullptr;  // stamps posted events; the world sets its loop
  double clickInterval = 0.5;
  bool refuseSource = false;
  bool refuseMouseEvents = false;
  bool refuseScrollEvents = false;

  // Runs for every event posted, after it is recorded (the world lets the windows react).
  std::function<void(const PostedEvent&)> onPost;

  // Observations.
  std::vector<PostedEvent> posted;
  std::optional<Point> mouseLocation;  // global, of the last mouse event posted with a location
  std::vector<std::shared_ptr<SimEventSource>> sources;
  std::vector<SimInputEvent> postedTo(ProcessID pid) const;
};

}  // namespace turnlet::sim
