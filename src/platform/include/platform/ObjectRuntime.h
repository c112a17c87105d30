#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace turnlet {

// An object of the platform's object runtime. The reference is strong: the object lives while a
// reference is held, and dropping the last one releases it (for some objects, such as a virtual
// display, releasing is what ends their effect on the system).
class PlatformObject {
 public:
  virtual ~PlatformObject() = default;
};
using ObjectRef = std::shared_ptr<PlatformObject>;

// A class of the object runtime, found by name.
class PlatformClass {
 public:
  virtual ~PlatformClass() = default;
};
using ClassRef = std::shared_ptr<PlatformClass>;

// A structure boxed as a value object, with the runtime's type encoding of its layout
// ("{CGSize=dd}" for a size of two doubles).
struct BoxedSize {
  double width = 0;
  double height = 0;
  std::string typeEncoding;
  friend bool operator==(const BoxedSize&, const BoxedSize&) = default;
};

using ObjectList = std::vector<ObjectRef>;

// A value set on an object by key: a string, an unsigned or signed 32-bit number, a double, a
// boolean number, a boxed size, an array of objects, or an object.
using ObjectValue =
    std::variant<std::string, std::uint32_t, std::int32_t, double, bool, BoxedSize, ObjectList, ObjectRef>;

// An exception raised by the platform's code (not by ours): a name such as
// "NSInvalidArgumentException" and, usually, a reason.
class PlatformException : public std::exception {
 public:
  PlatformException(std::string name, std::optional<std::string> reason)
      : exceptionName(std::move(name)), exceptionReason(std::move(reason)) {}

  const std::string& name() const { return exceptionName; }
  const std::optional<std::string>& reason() const { return exceptionReason; }
  const char* what() const noexcept override {
    return exceptionReason ? exceptionReason->c_str() : exceptionName.c_str();
  }

 private:
  std::string exceptionName;
  std::optional<std::string> exceptionReason;
};

// The part of the platform's object runtime the program needs to drive classes it does not link
// against: find a class by name, ask whether instances answer a selector, create objects, set
// values by key, and send the few messages of the private virtual-display classes.
//
// Nothing here checks a selector on the caller's behalf: sending a message the receiver does not
// answer raises, as the runtime would. Any call may raise PlatformException. Main loop only.
class ObjectRuntime {
 public:
  virtual ~ObjectRuntime() = default;

  // The class registered under name; null when the system has none.
  virtual ClassRef lookUpClass(std::string_view name) = 0;
  virtual bool instancesRespondToSelector(const ClassRef& cls, std::string_view selector) = 0;
  virtual bool respondsToSelector(const ObjectRef& object, std::string_view selector) = 0;
  // The runtime's type encoding of the instance method ("@40@0:8Q16Q24d32": return type, then
  // receiver, selector and arguments, each with its frame offset); none without such a method.
  virtual std::optional<std::string> instanceMethodTypeEncoding(const ClassRef& cls, std::string_view selector) = 0;

  // alloc followed by plain init; null when init yields nothing.
  virtual ObjectRef allocInit(const ClassRef& cls) = 0;
  // Key-value coding: setValue:forKey:.
  virtual void setValueForKey(const ObjectRef& object, std::string_view key, ObjectValue value) = 0;
  // Sends the named one-argument setter (setQueue:, say) with the main dispatch queue.
  virtual void setMainQueue(const ObjectRef& object, std::string_view setter) = 0;

  // alloc + initWithWidth:height:refreshRate: (a display mode in points, refresh rate in hertz).
  virtual ObjectRef initWithWidthHeightRefreshRate(const ClassRef& modeClass, std::uint64_t width, std::uint64_t height,
                                                   double refreshRateHz) = 0;
  // alloc + initWithDescriptor: (a virtual display); null when the system declines.
  virtual ObjectRef initWithDescriptor(const ClassRef& displayClass, const ObjectRef& descriptor) = 0;
  virtual bool applySettings(const ObjectRef& display, const ObjectRef& settings) = 0;
  virtual std::uint32_t displayID(const ObjectRef& display) = 0;
};

}  // namespace turnlet
