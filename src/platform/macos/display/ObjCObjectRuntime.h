#pragma once

#include "platform/ObjectRuntime.h"

namespace turnlet::macos {

// The Objective-C runtime as the interface's object runtime, for the private virtual-display
// classes, which are not linked against: classes are found by name (NSClassFromString), selectors
// tested with respondsToSelector: and instancesRespondToSelector: and their types read from the
// class's method (class_getInstanceMethod), values set by key-value coding
// and the few messages sent as the interface names them. The caller tests every selector before
// it is sent (as the runtime would, an unknown one raises). Every Objective-C exception raised
// inside becomes a PlatformException with its name and reason. Main thread only.
class ObjCObjectRuntime final : public ObjectRuntime {
 public:
  ClassRef lookUpClass(std::string_view name) override;
  bool instancesRespondToSelector(const ClassRef& cls, std::string_view selector) override;
  bool respondsToSelector(const ObjectRef& object, std::string_view selector) override;
  std::optional<std::string> instanceMethodTypeEncoding(const ClassRef& cls, std::string_view selector) override;
  ObjectRef allocInit(const ClassRef& cls) override;
  void setValueForKey(const ObjectRef& object, std::string_view key, ObjectValue value) override;
  void setMainQueue(const ObjectRef& object, std::string_view setter) override;
  ObjectRef initWithWidthHeightRefreshRate(const ClassRef& modeClass, std::uint64_t width, std::uint64_t height,
                                           double refreshRateHz) override;
  ObjectRef initWithDescriptor(const ClassRef& displayClass, const ObjectRef& descriptor) override;
  bool applySettings(const ObjectRef& display, const ObjectRef& settings) override;
  std::uint32_t displayID(const ObjectRef& display) override;
};

}  // namespace turnlet::macos
