#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Geometry.h"
#include "platform/LibraryLoader.h"

namespace turnlet {

// A process id as the system numbers processes.
using ProcessID = std::int32_t;
// A window number of the window server; 0 is no window.
using WindowNumber = std::uint32_t;

// Mouse event types, the platform's numbers.
enum class MouseEventType : std::uint64_t {
  leftMouseDown = 1,
  leftMouseUp = 2,
  rightMouseDown = 3,
  rightMouseUp = 4,
  mouseMoved = 5,
  leftMouseDragged = 6,
};

// Event source states, the platform's numbers.
enum class EventSourceState : std::int32_t { privateState = -1, combinedSessionState = 0, hidSystemState = 1 };

// Which local events stay permitted while a source suppresses them (bits).
inline constexpr std::uint32_t eventFilterMaskPermitLocalMouse = 1;
inline constexpr std::uint32_t eventFilterMaskPermitLocalKeyboard = 2;
inline constexpr std::uint32_t eventFilterMaskPermitSystemDefinedEvents = 4;
enum class EventSuppressionState : std::uint32_t { suppressionInterval = 0, remoteMouseDrag = 1 };

enum class ScrollEventUnit : std::uint32_t { pixel = 0, line = 1 };

// Integer fields of an event, the platform's numbers. All but windowNumber (51) have a public
// name (kCGMouseEventButtonNumber, kCGEventTargetUnixProcessID, kCGScrollWheelEventIsContinuous,
// kCGMouseEventWindowUnderMousePointer…, kCGScrollWheelEventScrollPhase,
// kCGScrollWheelEventMomentumPhase); a backend sets 51 by its number, as the others.
enum class EventField : std::uint32_t {
  mouseEventButtonNumber = 3,
  targetUnixProcessID = 40,
  windowNumber = 51,  // private: Apple declares no constant for it
  scrollWheelEventIsContinuous = 88,
  windowUnderMousePointer = 91,
  windowUnderMousePointerThatCanHandleThisEvent = 92,
  scrollWheelEventScrollPhase = 99,
  scrollWheelEventMomentumPhase = 123,
};

// An event source. Shared by the events made from it (each holds it); the platform source is
// released with the last holder. Main loop only.
class EventSource {
 public:
  virtual ~EventSource() = default;
  virtual void setLocalEventsSuppressionInterval(double seconds) = 0;
  virtual void setLocalEventsFilterDuringSuppressionState(std::uint32_t filter, EventSuppressionState state) = 0;
};

// One synthetic event before it is posted. The caller owns it: the object holds one reference to
// the platform event (a backend retains the autoreleased event of the application kit's factory,
// and owns the one a CoreGraphics create function returns) and releases it when destroyed, not
// before. Main loop only.
class InputEvent {
 public:
  virtual ~InputEvent() = default;
  virtual void setSource(const std::shared_ptr<EventSource>& source) = 0;
  virtual void setFlags(std::uint64_t flags) = 0;
  virtual void setLocation(Point location) = 0;  // global display points, y down
  virtual void setIntegerValueField(EventField field, std::int64_t value) = 0;
};

// The looked-up "CGEventSetWindowLocation": stores a window-local point on an event of the
// service that made the setter. Not called after the library it came from is closed.
using EventWindowLocationSetter = std::function<void(InputEvent& event, Point windowLocation)>;

// Creation and delivery of synthetic pointer events. Main loop only.
class InputEvents {
 public:
  virtual ~InputEvents() = default;

  // Null when the system refuses a source.
  virtual std::shared_ptr<EventSource> createEventSource(EventSourceState state) = 0;

  // The application kit's mouse-event factory, then its CoreGraphics event: a location local to
  // the window (origin bottom-left), modifier flags, a timestamp in seconds of uptime, the window
  // number, click count and pressure. Null when either step gives nothing.
  virtual std::unique_ptr<InputEvent> mouseEvent(MouseEventType type, Point windowLocation, std::uint64_t modifierFlags,
                                                 double timestamp, WindowNumber windowNumber, std::int64_t clickCount,
                                                 float pressure) = 0;

  // A scroll-wheel event with wheelCount wheels (1 to 3) of whole deltas. Null on failure.
  virtual std::unique_ptr<InputEvent> createScrollWheelEvent2(const std::shared_ptr<EventSource>& source,
                                                              ScrollEventUnit units, std::uint32_t wheelCount,
                                                              std::int32_t wheel1, std::int32_t wheel2,
                                                              std::int32_t wheel3) = 0;

  // Delivers the event to that process only. It is read at once; the caller keeps it.
  virtual void postToPid(ProcessID pid, InputEvent& event) = 0;

  // The window-location setter looked up by name in a library the caller opened and keeps open;
  // absent when the library lacks the symbol. It works on this service's events.
  virtual std::optional<EventWindowLocationSetter> windowLocationSetter(LoadedLibrary& library,
                                                                        const std::string& symbol) = 0;

  // The user's double-click interval, seconds.
  virtual double doubleClickInterval() = 0;
};

}  // namespace turnlet
