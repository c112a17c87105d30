#import "macos/display/ObjCObjectRuntime.h"

#import <CoreGraphics/CoreGraphics.h>
#import <Foundation/Foundation.h>
#import <dispatch/dispatch.h>
#import <objc/runtime.h>

#include <cstring>
#include <string>
#include <utility>

#include "macos/bridge/TextBridge.h"

// The messages of the private virtual-display classes that the program sends, as this program's
// design describes them. They are declared here only so that the compiler can send them; nothing
// is linked, and the caller has tested each selector on the receiver before it is sent.
@protocol TurnletVirtualDisplayMessages
- (nullable instancetype)initWithDescriptor:(nonnull id)descriptor;
- (nullable instancetype)initWithWidth:(NSUInteger)width height:(NSUInteger)height refreshRate:(double)refreshRate;
- (BOOL)applySettings:(nonnull id)settings;
- (CGDirectDisplayID)displayID;
- (void)setQueue:(nonnull dispatch_queue_t)queue;
- (void)setDispatchQueue:(nonnull dispatch_queue_t)queue;
// Set through key-value coding only (which converts the value); declared so that the program
// can ask whether a class has them.
- (void)setModes:(nonnull NSArray*)modes;
- (void)setHiDPI:(NSUInteger)hiDPI;
- (void)setName:(nonnull NSString*)name;
- (void)setMaxPixelsWide:(NSUInteger)pixels;
- (void)setMaxPixelsHigh:(NSUInteger)pixels;
- (void)setSizeInMillimeters:(CGSize)size;
- (void)setVendorID:(uint32_t)vendorID;
- (void)setProductID:(uint32_t)productID;
- (void)setSerialNum:(uint32_t)serialNum;
@end

namespace turnlet::macos {

namespace {

class RuntimeClass final : public PlatformClass {
 public:
  explicit RuntimeClass(Class _Nonnull cls) : cls(cls) {}
  Class _Nonnull cls;
};

class RuntimeObject final : public PlatformObject {
 public:
  explicit RuntimeObject(id _Nonnull object) : object(object) {}
  __strong id _Nonnull object;
};

PlatformException invalidArgument(std::string reason) {
  return PlatformException("NSInvalidArgumentException", std::move(reason));
}

Class _Nonnull classOf(const ClassRef& cls) {
  auto* runtime = dynamic_cast<const RuntimeClass*>(cls.get());
  if (!runtime) throw invalidArgument("not a class of the Objective-C runtime");
  return runtime->cls;
}

id _Nonnull objectOf(const ObjectRef& object) {
  auto* runtime = dynamic_cast<const RuntimeObject*>(object.get());
  if (!runtime) throw invalidArgument("not an object of the Objective-C runtime");
  return runtime->object;
}

ObjectRef wrap(id _Nullable object) {
  if (!object) return nullptr;
  return std::make_shared<RuntimeObject>(object);
}

// Only the messages of the private protocol above, each written with @selector so that the
// compiler checks it against the protocol.
SEL _Nonnull selectorNamed(std::string_view name) {
  const std::pair<std::string_view, SEL> known[] = {
      {"initWithDescriptor:", @selector(initWithDescriptor:)},
      {"initWithWidth:height:refreshRate:", @selector(initWithWidth:height:refreshRate:)},
      {"applySettings:", @selector(applySettings:)},
      {"displayID", @selector(displayID)},
      {"setQueue:", @selector(setQueue:)},
      {"setDispatchQueue:", @selector(setDispatchQueue:)},
      {"setModes:", @selector(setModes:)},
      {"setHiDPI:", @selector(setHiDPI:)},
      {"setName:", @selector(setName:)},
      {"setMaxPixelsWide:", @selector(setMaxPixelsWide:)},
      {"setMaxPixelsHigh:", @selector(setMaxPixelsHigh:)},
      {"setSizeInMillimeters:", @selector(setSizeInMillimeters:)},
      {"setVendorID:", @selector(setVendorID:)},
      {"setProductID:", @selector(setProductID:)},
      {"setSerialNum:", @selector(setSerialNum:)},
  };
  for (const auto& [known_name, selector] : known)
    if (known_name == name) return selector;
  throw invalidArgument("not a message of the private virtual-display protocol: " + std::string(name));
}

// Runs fn; an Objective-C exception it raises leaves as a PlatformException.
template <class Fn>
auto translatingExceptions(Fn&& fn) -> decltype(fn()) {
  @try {
    return fn();
  } @catch (NSException* exception) {
    std::optional<std::string> reason;
    if (NSString* text = exception.reason) reason = utf8String(text);
    throw PlatformException(utf8String(exception.name), std::move(reason));
  }
}

id _Nonnull boxed(const ObjectValue& value) {
  return std::visit(
      [](const auto& v) -> id _Nonnull {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
          return makeNSString(v);
        } else if constexpr (std::is_same_v<T, std::uint32_t>) {
          return [NSNumber numberWithUnsignedInt:v];
        } else if constexpr (std::is_same_v<T, std::int32_t>) {
          return [NSNumber numberWithInt:v];
        } else if constexpr (std::is_same_v<T, double>) {
          return [NSNumber numberWithDouble:v];
        } else if constexpr (std::is_same_v<T, bool>) {
          return [NSNumber numberWithBool:v];
        } else if constexpr (std::is_same_v<T, BoxedSize>) {
          // Boxed with the layout the caller names, which must be the platform's own for CGSize.
          if (v.typeEncoding != @encode(CGSize)) throw invalidArgument("cannot box the layout " + v.typeEncoding);
          const CGSize size{v.width, v.height};
          return [NSValue valueWithBytes:&size objCType:@encode(CGSize)];
        } else if constexpr (std::is_same_v<T, ObjectList>) {
          NSMutableArray* array = [NSMutableArray arrayWithCapacity:v.size()];
          for (const ObjectRef& item : v) [array addObject:objectOf(item)];
          return array;
        } else {
          return objectOf(v);
        }
      },
      value);
}

}  // namespace

ClassRef ObjCObjectRuntime::lookUpClass(std::string_view name) {
  return translatingExceptions([&]() -> ClassRef {
    Class cls = NSClassFromString(makeNSString(name));
    if (!cls) return nullptr;
    return std::make_shared<RuntimeClass>(cls);
  });
}

bool ObjCObjectRuntime::instancesRespondToSelector(const ClassRef& cls, std::string_view selector) {
  return translatingExceptions([&] {
    return static_cast<bool>([classOf(cls) instancesRespondToSelector:selectorNamed(selector)]);
  });
}

bool ObjCObjectRuntime::respondsToSelector(const ObjectRef& object, std::string_view selector) {
  return translatingExceptions([&] {
    return static_cast<bool>([objectOf(object) respondsToSelector:selectorNamed(selector)]);
  });
}

std::optional<std::string> ObjCObjectRuntime::instanceMethodTypeEncoding(const ClassRef& cls,
                                                                        std::string_view selector) {
  return translatingExceptions([&]() -> std::optional<std::string> {
    Method method = class_getInstanceMethod(classOf(cls), selectorNamed(selector));
    if (!method) return std::nullopt;
    const char* types = method_getTypeEncoding(method);
    if (!types) return std::nullopt;
    return std::string(types);
  });
}

ObjectRef ObjCObjectRuntime::allocInit(const ClassRef& cls) {
  return translatingExceptions([&] { return wrap([[classOf(cls) alloc] init]); });
}

void ObjCObjectRuntime::setValueForKey(const ObjectRef& object, std::string_view key, ObjectValue value) {
  translatingExceptions([&] { [objectOf(object) setValue:boxed(value) forKey:makeNSString(key)]; });
}

void ObjCObjectRuntime::setMainQueue(const ObjectRef& object, std::string_view setter) {
  translatingExceptions([&] {
    id<TurnletVirtualDisplayMessages> target = objectOf(object);
    if (setter == "setQueue:") {
      [target setQueue:dispatch_get_main_queue()];
    } else if (setter == "setDispatchQueue:") {
      [target setDispatchQueue:dispatch_get_main_queue()];
    } else {
      throw invalidArgument("no queue setter named " + std::string(setter));
    }
  });
}

ObjectRef ObjCObjectRuntime::initWithWidthHeightRefreshRate(const ClassRef& modeClass, std::uint64_t width,
                                                            std::uint64_t height, double refreshRateHz) {
  return translatingExceptions([&] {
    id<TurnletVirtualDisplayMessages> allocated = [classOf(modeClass) alloc];
    return wrap([allocated initWithWidth:width height:height refreshRate:refreshRateHz]);
  });
}

ObjectRef ObjCObjectRuntime::initWithDescriptor(const ClassRef& displayClass, const ObjectRef& descriptor) {
  return translatingExceptions([&] {
    id<TurnletVirtualDisplayMessages> allocated = [classOf(displayClass) alloc];
    return wrap([allocated initWithDescriptor:objectOf(descriptor)]);
  });
}

bool ObjCObjectRuntime::applySettings(const ObjectRef& display, const ObjectRef& settings) {
  return translatingExceptions([&] {
    id<TurnletVirtualDisplayMessages> target = objectOf(display);
    return static_cast<bool>([target applySettings:objectOf(settings)]);
  });
}

std::uint32_t ObjCObjectRuntime::displayID(const ObjectRef& display) {
  return translatingExceptions([&] {
    id<TurnletVirtualDisplayMessages> target = objectOf(display);
    return static_cast<std::uint32_t>([target displayID]);
  });
}

}  // namespace turnlet::macos
