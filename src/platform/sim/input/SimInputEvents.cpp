#include "sim/input/SimInputEvents.h"

namespace turnlet::sim {

std::shared_ptr<EventSource> SimInputEvents::createEventSource(EventSourceState) {
  if (refuseSource) return nullptr;
  auto source = std::make_shared<SimEventSource>();
  sources.push_back(source);
  return source;
}

std::unique_ptr<InputEvent> SimInputEvents::mouseEvent(MouseEventType type, Point windowLocation,
                                                       std::uint64_t modifierFlags, double timestamp,
                                                       WindowNumber windowNumber, std::int64_t clickCount,
                                                       float pressure) {
  if (refuseMouseEvents) return nullptr;
  auto event = std::make_unique<SimInputEvent>();
  event->type = type;
  event->factoryLocation = windowLocation;
  event->modifierFlags = modifierFlags;
  event->timestamp = timestamp;
  event->windowNumber = windowNumber;
  event->clickCount = clickCount;
  event->pressure = pressure;
  return event;
}

std::unique_ptr<InputEvent> SimInputEvents::createScrollWheelEvent2(const std::shared_ptr<EventSource>& source,
                                                                    ScrollEventUnit units, std::uint32_t wheelCount,
                                                                    std::int32_t wheel1, std::int32_t wheel2,
                                                                    std::int32_t wheel3) {
  if (refuseScrollEvents || wheelCount < 1 || wheelCount > 3) return nullptr;
  auto event = std::make_unique<SimInputEvent>();
  event->isScroll = true;
  event->source = source;
  event->units = units;
  event->wheelCount = wheelCount;
  event->wheels = {wheel1, wheel2, wheel3};
  return event;
}

void SimInputEvents::postToPid(ProcessID pid, InputEvent& event) {
  posted.push_back({pid, static_cast<SimInputEvent&>(event), clock ? clock->now() : 0});
  const SimInputEvent& e = posted.back().event;
  if (!e.isScroll && e.location) mouseLocation = e.location;
  if (onPost) onPost(PostedEvent(posted.back()));  // a copy: the handler may post more
}

std::optional<EventWindowLocationSetter> SimInputEvents::windowLocationSetter(LoadedLibrary& library,
                                                                              const std::string& symbol) {
  if (!library.symbolAddress(symbol)) return std::nullopt;
  return [](InputEvent& event, Point location) { static_cast<SimInputEvent&>(event).windowLocation = location; };
}

std::vector<SimInputEvent> SimInputEvents::postedTo(ProcessID pid) const {
  std::vector<SimInputEvent> list;
  for (const auto& p : posted)
    if (p.pid == pid) list.push_back(p.event);
  return list;
}

}  // namespace turnlet::sim
