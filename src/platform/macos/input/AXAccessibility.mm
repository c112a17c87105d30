#import "macos/input/AXAccessibility.h"

#import <ApplicationServices/ApplicationServices.h>
#import <Foundation/Foundation.h>

#include "macos/input/AccessibilityValues.h"
#include "macos/bridge/CFRef.h"
#include "macos/bridge/NumberBridge.h"
#include "macos/bridge/TextBridge.h"

namespace turnlet::macos {

namespace {

class AXElement final : public AccessibilityElement {
 public:
  explicit AXElement(CFRef<AXUIElementRef> element) : element(std::move(element)) {}
  AXUIElementRef _Nonnull get() const { return element.get(); }

 private:
  CFRef<AXUIElementRef> element;  // never null
};

AccessibilityElementRef wrap(CFRef<AXUIElementRef> element) {
  if (!element) return nullptr;
  return std::make_shared<AXElement>(std::move(element));
}

AXUIElementRef _Nullable platformElement(const AccessibilityElementRef& element) {
  const auto* ours = dynamic_cast<const AXElement*>(element.get());
  return ours ? ours->get() : nullptr;
}

AXObject readObject(id _Nullable object, int depth) {
  AXObject read;
  if (!object) return read;
  const CFTypeRef ref = (__bridge CFTypeRef)object;
  const CFTypeID type = CFGetTypeID(ref);
  if (type == AXUIElementGetTypeID()) {
    read.kind = AXObject::Kind::element;
    read.element = wrap(CFRef<AXUIElementRef>::retain(static_cast<AXUIElementRef>(ref)));
  } else if (type == AXValueGetTypeID()) {
    const auto value = static_cast<AXValueRef>(ref);
    read.kind = AXObject::Kind::axValue;
    read.axValueType = AXValueGetType(value);
    if (read.axValueType == axValueTypePoint) {
      CGPoint point;
      if (AXValueGetValue(value, kAXValueTypeCGPoint, &point)) read.axValuePair = std::pair(point.x, point.y);
    } else if (read.axValueType == axValueTypeSize) {
      CGSize size;
      if (AXValueGetValue(value, kAXValueTypeCGSize, &size)) read.axValuePair = std::pair(size.width, size.height);
    }
  } else if (const auto number = platformNumber(object)) {
    read.kind = AXObject::Kind::number;
    read.number = *number;
  } else if ([object isKindOfClass:[NSString class]]) {
    read.kind = AXObject::Kind::text;
    read.text = utf8String(object);
  } else if ([object isKindOfClass:[NSArray class]] && depth < axArrayDepthLimit) {
    NSArray* array = object;
    read.kind = AXObject::Kind::array;
    for (NSUInteger i = 0; i < array.count; ++i) read.items.push_back(readObject([array objectAtIndex:i], depth + 1));
  }
  return read;
}

// The platform object for a value the program writes; nil for one without a platform form.
id _Nullable platformValue(const AXObject& object) {
  switch (object.kind) {
    case AXObject::Kind::text: return makeNSString(object.text);
    case AXObject::Kind::number:
      if (object.number.kind == NumberKind::boolean) return [NSNumber numberWithBool:object.number.signedValue != 0];
      return [NSNumber numberWithDouble:object.number.realValue];
    case AXObject::Kind::axValue: {
      if (!object.axValuePair) return nil;
      if (object.axValueType == axValueTypePoint) {
        const CGPoint point = CGPointMake(object.axValuePair->first, object.axValuePair->second);
        return (__bridge_transfer id)AXValueCreate(kAXValueTypeCGPoint, &point);
      }
      if (object.axValueType == axValueTypeSize) {
        CGSize size;
        size.width = object.axValuePair->first;
        size.height = object.axValuePair->second;
        return (__bridge_transfer id)AXValueCreate(kAXValueTypeCGSize, &size);
      }
      return nil;
    }
    case AXObject::Kind::element: {
      AXUIElementRef element = platformElement(object.element);
      return element ? (__bridge id)element : nil;
    }
    case AXObject::Kind::array: {
      NSMutableArray* array = [NSMutableArray arrayWithCapacity:object.items.size()];
      for (const AXObject& item : object.items) {
        id value = platformValue(item);
        if (!value) return nil;
        [array addObject:value];
      }
      return array;
    }
    case AXObject::Kind::other: return nil;
  }
  return nil;
}

}  // namespace

AccessibilityElementRef AXAccessibility::createApplication(ProcessID pid) {
  return wrap(CFRef<AXUIElementRef>::adopt(AXUIElementCreateApplication(pid)));
}

AccessibilityError AXAccessibility::setMessagingTimeout(const AccessibilityElementRef& element, float seconds) {
  AXUIElementRef ax = platformElement(element);
  if (!ax) return accessibilityIllegalArgument;
  return AXUIElementSetMessagingTimeout(ax, seconds);
}

AccessibilityError AXAccessibility::copyElementAtPosition(const AccessibilityElementRef& application, float x, float y,
                                                          AccessibilityElementRef& element) {
  AXUIElementRef app = platformElement(application);
  if (!app) return accessibilityIllegalArgument;
  AXUIElementRef found = nullptr;
  const AXError error = AXUIElementCopyElementAtPosition(app, x, y, &found);
  auto owned = CFRef<AXUIElementRef>::adopt(found);  // released whatever the code says
  if (error != accessibilitySuccess) return error;
  element = wrap(std::move(owned));
  return error;
}

AccessibilityError AXAccessibility::getPid(const AccessibilityElementRef& element, ProcessID& pid) {
  AXUIElementRef ax = platformElement(element);
  if (!ax) return accessibilityIllegalArgument;
  pid_t read = 0;
  const AXError error = AXUIElementGetPid(ax, &read);
  if (error == accessibilitySuccess) pid = read;
  return error;
}

AccessibilityError AXAccessibility::copyAttributeValue(const AccessibilityElementRef& element, const std::string& attribute,
                                                       AccessibilityValue& value) {
  AXUIElementRef ax = platformElement(element);
  if (!ax) return accessibilityIllegalArgument;
  @autoreleasepool {
    CFTypeRef raw = nullptr;
    const AXError error = AXUIElementCopyAttributeValue(ax, (__bridge CFStringRef)makeNSString(attribute), &raw);
    id object = (__bridge_transfer id)raw;  // owned by the copy rule, released with `object`
    if (error != accessibilitySuccess) return error;
    value = accessibilityValue(readObject(object, 0));
    return error;
  }
}

AccessibilityError AXAccessibility::isAttributeSettable(const AccessibilityElementRef& element, const std::string& attribute,
                                                        bool& settable) {
  AXUIElementRef ax = platformElement(element);
  if (!ax) return accessibilityIllegalArgument;
  @autoreleasepool {
    Boolean answer = false;
    const AXError error = AXUIElementIsAttributeSettable(ax, (__bridge CFStringRef)makeNSString(attribute), &answer);
    if (error == accessibilitySuccess) settable = answer != 0;
    return error;
  }
}

// Called from the position writer's own queue: nothing here touches state shared with another
// thread; the element is used from that queue only while the move lasts.
AccessibilityError AXAccessibility::setAttributeValue(const AccessibilityElementRef& element, const std::string& attribute,
                                                      const AccessibilityValue& value) {
  AXUIElementRef ax = platformElement(element);
  const std::optional<AXObject> written = axObject(value);
  if (!ax || !written) return accessibilityIllegalArgument;
  @autoreleasepool {
    id platform = platformValue(*written);
    if (!platform) return accessibilityIllegalArgument;
    return AXUIElementSetAttributeValue(ax, (__bridge CFStringRef)makeNSString(attribute), (__bridge CFTypeRef)platform);
  }
}

AccessibilityError AXAccessibility::copyActionNames(const AccessibilityElementRef& element, AccessibilityValue& names) {
  AXUIElementRef ax = platformElement(element);
  if (!ax) return accessibilityIllegalArgument;
  @autoreleasepool {
    CFArrayRef raw = nullptr;
    const AXError error = AXUIElementCopyActionNames(ax, &raw);
    NSArray* list = (__bridge_transfer NSArray*)raw;
    if (error != accessibilitySuccess) return error;
    names = accessibilityValue(readObject(list, 0));
    return error;
  }
}

AccessibilityError AXAccessibility::performAction(const AccessibilityElementRef& element, const std::string& action) {
  AXUIElementRef ax = platformElement(element);
  if (!ax) return accessibilityIllegalArgument;
  @autoreleasepool {
    return AXUIElementPerformAction(ax, (__bridge CFStringRef)makeNSString(action));
  }
}

}  // namespace turnlet::macos
