#pragma once

#include "platform/InputEvents.h"

namespace turnlet::macos {

// Synthetic pointer events through CoreGraphics and the application kit: event sources, mouse
// events from NSEvent's factory (its CGEvent retained, since the platform autoreleases it), scroll
// events from CGEventCreateScrollWheelEvent2 (owned already), each released when its InputEvent
// goes; delivery with CGEventPostToPid; the window-location setter read from a library the caller
// keeps open. Main thread only.
class CoreGraphicsInputEvents final : public InputEvents {
 public:
  std::shared_ptr<EventSource> createEventSource(EventSourceState state) override;
  std::unique_ptr<InputEvent> mouseEvent(MouseEventType type, Point windowLocation, std::uint64_t modifierFlags,
                                         double timestamp, WindowNumber windowNumber, std::int64_t clickCount,
                                         float pressure) override;
  std::unique_ptr<InputEvent> createScrollWheelEvent2(const std::shared_ptr<EventSource>& source, ScrollEventUnit units,
                                                      std::uint32_t wheelCount, std::int32_t wheel1, std::int32_t wheel2,
                                                      std::int32_t wheel3) override;
  void postToPid(ProcessID pid, InputEvent& event) override;
  std::optional<EventWindowLocationSetter> windowLocationSetter(LoadedLibrary& library, const std::string& symbol) override;
  double doubleClickInterval() override;
};

}  // namespace turnlet::macos
