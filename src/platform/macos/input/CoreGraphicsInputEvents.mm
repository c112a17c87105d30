#import "macos/input/CoreGraphicsInputEvents.h"

#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>

#include "macos/bridge/CFRef.h"

namespace turnlet::macos {

static_assert(static_cast<CGEventField>(EventField::mouseEventButtonNumber) == kCGMouseEventButtonNumber &&
              static_cast<CGEventField>(EventField::targetUnixProcessID) == kCGEventTargetUnixProcessID &&
              static_cast<CGEventField>(EventField::scrollWheelEventIsContinuous) == kCGScrollWheelEventIsContinuous &&
              static_cast<CGEventField>(EventField::windowUnderMousePointer) == kCGMouseEventWindowUnderMousePointer &&
              static_cast<CGEventField>(EventField::windowUnderMousePointerThatCanHandleThisEvent) ==
                  kCGMouseEventWindowUnderMousePointerThatCanHandleThisEvent &&
              static_cast<CGEventField>(EventField::scrollWheelEventScrollPhase) == kCGScrollWheelEventScrollPhase &&
              static_cast<CGEventField>(EventField::scrollWheelEventMomentumPhase) == kCGScrollWheelEventMomentumPhase);

namespace {

class CGSource final : public EventSource {
 public:
  explicit CGSource(CFRef<CGEventSourceRef> source) : source(std::move(source)) {}

  void setLocalEventsSuppressionInterval(double seconds) override {
    CGEventSourceSetLocalEventsSuppressionInterval(source.get(), seconds);
  }
  void setLocalEventsFilterDuringSuppressionState(std::uint32_t filter, EventSuppressionState state) override {
    CGEventSourceSetLocalEventsFilterDuringSuppressionState(source.get(), filter, static_cast<CGEventSuppressionState>(state));
  }

  CGEventSourceRef _Nullable get() const { return source.get(); }

 private:
  CFRef<CGEventSourceRef> source;
};

CGEventSourceRef _Nullable platformSource(const std::shared_ptr<EventSource>& source) {
  const auto* ours = dynamic_cast<const CGSource*>(source.get());
  return ours ? ours->get() : nullptr;
}

// One owned reference to the event; the sources it was made from or given stay alive with it.
class CGInputEvent final : public InputEvent {
 public:
  CGInputEvent(CFRef<CGEventRef> event, std::shared_ptr<EventSource> madeFrom)
      : event(std::move(event)), source(std::move(madeFrom)) {}

  void setSource(const std::shared_ptr<EventSource>& s) override {
    CGEventSetSource(event.get(), platformSource(s));
    source = s;
  }
  void setFlags(std::uint64_t flags) override { CGEventSetFlags(event.get(), flags); }
  void setLocation(Point location) override { CGEventSetLocation(event.get(), CGPointMake(location.x, location.y)); }
  void setIntegerValueField(EventField field, std::int64_t value) override {
    CGEventSetIntegerValueField(event.get(), static_cast<CGEventField>(field), value);
  }

  CGEventRef _Nullable get() const { return event.get(); }

 private:
  CFRef<CGEventRef> event;
  std::shared_ptr<EventSource> source;
};

}  // namespace

std::shared_ptr<EventSource> CoreGraphicsInputEvents::createEventSource(EventSourceState state) {
  auto source = CFRef<CGEventSourceRef>::adopt(CGEventSourceCreate(static_cast<CGEventSourceStateID>(state)));
  if (!source) return nullptr;
  return std::make_shared<CGSource>(std::move(source));
}

std::unique_ptr<InputEvent> CoreGraphicsInputEvents::mouseEvent(MouseEventType type, Point windowLocation,
                                                                std::uint64_t modifierFlags, double timestamp,
                                                                WindowNumber windowNumber, std::int64_t clickCount,
                                                                float pressure) {
  @autoreleasepool {
    NSEvent* event = [NSEvent mouseEventWithType:static_cast<NSEventType>(type)
                                        location:NSMakePoint(windowLocation.x, windowLocation.y)
                                   modifierFlags:static_cast<NSEventModifierFlags>(modifierFlags)
                                       timestamp:timestamp
                                    windowNumber:static_cast<NSInteger>(windowNumber)
                                         context:nil
                                     eventNumber:0
                                      clickCount:static_cast<NSInteger>(clickCount)
                                        pressure:pressure];
    if (!event) return nullptr;
    // Autoreleased with the NSEvent: retained before the pool drains.
    auto converted = CFRef<CGEventRef>::retain(event.CGEvent);
    if (!converted) return nullptr;
    return std::make_unique<CGInputEvent>(std::move(converted), nullptr);
  }
}

std::unique_ptr<InputEvent> CoreGraphicsInputEvents::createScrollWheelEvent2(const std::shared_ptr<EventSource>& source,
                                                                             ScrollEventUnit units, std::uint32_t wheelCount,
                                                                             std::int32_t wheel1, std::int32_t wheel2,
                                                                             std::int32_t wheel3) {
  if (wheelCount < 1 || wheelCount > 3) return nullptr;
  auto event = CFRef<CGEventRef>::adopt(CGEventCreateScrollWheelEvent2(
      platformSource(source), static_cast<CGScrollEventUnit>(units), wheelCount, wheel1, wheel2, wheel3));
  if (!event) return nullptr;
  return std::make_unique<CGInputEvent>(std::move(event), source);
}

void CoreGraphicsInputEvents::postToPid(ProcessID pid, InputEvent& event) {
  if (auto* ours = dynamic_cast<CGInputEvent*>(&event)) CGEventPostToPid(pid, ours->get());
}

std::optional<EventWindowLocationSetter> CoreGraphicsInputEvents::windowLocationSetter(LoadedLibrary& library,
                                                                                        const std::string& symbol) {
  const void* address = library.symbolAddress(symbol);
  if (!address) return std::nullopt;
  // The setter's form: void f(CGEventRef event, CGPoint windowLocation).
  using Setter = void (*)(CGEventRef _Nullable, CGPoint);
  const auto setter = reinterpret_cast<Setter>(const_cast<void*>(address));
  return EventWindowLocationSetter([setter](InputEvent& event, Point windowLocation) {
    if (auto* ours = dynamic_cast<CGInputEvent*>(&event)) setter(ours->get(), CGPointMake(windowLocation.x, windowLocation.y));
  });
}

double CoreGraphicsInputEvents::doubleClickInterval() { return NSEvent.doubleClickInterval; }

}  // namespace turnlet::macos
