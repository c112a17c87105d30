#include "virtualdisplay/TurnletVirtualDisplay.h"

#include <algorithm>
#include <map>
#include <random>
#include <string_view>

namespace turnlet {

namespace {

using Code = TurnletVirtualDisplayErrorCode;

constexpr double kRefreshRateHz = 60.0;
constexpr double kPointsPerInch = 110.0;
constexpr double kMillimetresPerInch = 25.4;
constexpr std::uint64_t kPixelLimit = std::uint64_t{1} << 32;  // exclusive

constexpr const char* kDescriptorClass = "CGVirtualDisplayDescriptor";
constexpr const char* kDisplayClass = "CGVirtualDisplay";
constexpr const char* kModeClass = "CGVirtualDisplayMode";
constexpr const char* kSettingsClass = "CGVirtualDisplaySettings";
constexpr const char* kModeInit = "initWithWidth:height:refreshRate:";
constexpr const char* kIncompatible =
    "The private virtual display API has an incompatible interface on this macOS version.";

// The types the program sends with each message it sends directly, as type encodings (BOOL as B).
constexpr const char* kModeInitTypes = "@@:QQd";  // NSUInteger width and height, double refresh rate
constexpr const char* kDisplayInitTypes = "@@:@";
constexpr const char* kApplySettingsTypes = "B@:@";
constexpr const char* kQueueSetterTypes = "v@:@";

[[noreturn]] void fail(Code code, std::string sentence) {
  throw TurnletVirtualDisplayMakeError(code, std::move(sentence));
}

void report(std::optional<PlatformError>* error, PlatformError value) {
  if (error) *error = std::move(value);
}

PlatformError exceptionError(const PlatformException& e) {
  return TurnletVirtualDisplayMakeError(
      Code::platformFailure, "The private virtual display API raised an exception: " + e.reason().value_or(e.name()));
}

bool isExactHiDPI(std::uint64_t pixelWidth, std::uint64_t pixelHeight, std::uint64_t logicalWidth,
                  std::uint64_t logicalHeight) {
  // Callers keep every number below 2^32, so doubling cannot overflow.
  return pixelWidth != 0 && pixelHeight != 0 && logicalWidth != 0 && logicalHeight != 0 &&
         pixelWidth == 2 * logicalWidth && pixelHeight == 2 * logicalHeight;
}

// A type encoding reduced to its types: frame offsets dropped, qualifiers (const, oneway...) and
// quoted class names too, and BOOL the same whether the platform encodes it as B or c.
std::string typesOf(std::string_view encoding) {
  std::string types;
  bool quoted = false;
  for (char c : encoding) {
    if (c == '"') quoted = !quoted;
    if (quoted || c == '"' || (c >= '0' && c <= '9') || std::string_view("rnNoORV").find(c) != std::string_view::npos)
      continue;
    types += c == 'B' ? 'c' : c;
  }
  return types;
}

// Whether the class's method takes and returns what the program sends: a private class that
// changed its types would otherwise get doubles for integers, or the reverse.
bool takesSentTypes(ObjectRuntime& runtime, const ClassRef& cls, std::string_view selector, std::string_view sent) {
  const auto encoding = runtime.instanceMethodTypeEncoding(cls, selector);
  return encoding && typesOf(*encoding) == typesOf(sent);
}

bool modeAndSettingsUsable(ObjectRuntime& runtime, const ClassRef& modeClass, const ClassRef& settingsClass) {
  return runtime.instancesRespondToSelector(modeClass, kModeInit) &&
         runtime.instancesRespondToSelector(settingsClass, "setModes:") &&
         runtime.instancesRespondToSelector(settingsClass, "setHiDPI:") &&
         takesSentTypes(runtime, modeClass, kModeInit, kModeInitTypes);
}

}  // namespace

std::vector<std::string> TurnletVirtualDisplay::interfaceProblems(ObjectRuntime& runtime) {
  struct Message {
    const char* className;
    const char* selector;
    const char* types;  // checked when given
  };
  static constexpr Message sent[] = {
      {kModeClass, kModeInit, kModeInitTypes},
      {kSettingsClass, "setModes:", nullptr},
      {kSettingsClass, "setHiDPI:", nullptr},
      {kDisplayClass, "initWithDescriptor:", kDisplayInitTypes},
      {kDisplayClass, "applySettings:", kApplySettingsTypes},
      {kDisplayClass, "displayID", nullptr},
      {kDescriptorClass, "setName:", nullptr},
      {kDescriptorClass, "setMaxPixelsWide:", nullptr},
      {kDescriptorClass, "setMaxPixelsHigh:", nullptr},
      {kDescriptorClass, "setSizeInMillimeters:", nullptr},
      {kDescriptorClass, "setVendorID:", nullptr},
      {kDescriptorClass, "setProductID:", nullptr},
      {kDescriptorClass, "setSerialNum:", nullptr},
  };
  std::vector<std::string> problems;
  std::map<std::string, ClassRef> classes;
  for (const char* name : {kDescriptorClass, kDisplayClass, kModeClass, kSettingsClass}) {
    classes[name] = runtime.lookUpClass(name);
    if (!classes[name]) problems.push_back(std::string(name) + " is missing");
  }
  if (!problems.empty()) return problems;
  const auto check = [&](const char* className, const char* selector, const char* types) {
    const ClassRef& cls = classes[className];
    if (!runtime.instancesRespondToSelector(cls, selector)) {
      problems.push_back(std::string(className) + " lacks " + selector);
    } else if (types && !takesSentTypes(runtime, cls, selector, types)) {
      const auto encoding = runtime.instanceMethodTypeEncoding(cls, selector);
      problems.push_back(std::string(className) + " " + selector + " takes " + encoding.value_or("unknown types") +
                         ", not " + types);
    }
  };
  for (const Message& m : sent) check(m.className, m.selector, m.types);
  const bool queue = runtime.instancesRespondToSelector(classes[kDescriptorClass], "setQueue:");
  if (queue || runtime.instancesRespondToSelector(classes[kDescriptorClass], "setDispatchQueue:"))
    check(kDescriptorClass, queue ? "setQueue:" : "setDispatchQueue:", kQueueSetterTypes);
  else
    problems.push_back(std::string(kDescriptorClass) + " lacks setQueue: and setDispatchQueue:");
  return problems;
}

PlatformError TurnletVirtualDisplayMakeError(TurnletVirtualDisplayErrorCode code, std::string sentence) {
  return PlatformError(std::string(TurnletVirtualDisplayErrorDomain), static_cast<std::int64_t>(code),
                       std::move(sentence));
}

UUIDBytes TurnletRandomUUIDBytes() {
  std::random_device device;
  UUIDBytes bytes;
  for (std::size_t i = 0; i < bytes.size(); i += 4) {
    const std::uint32_t word = device();
    for (std::size_t j = 0; j < 4; ++j) bytes[i + j] = static_cast<std::uint8_t>(word >> (8 * j));
  }
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  return bytes;
}

std::uint32_t TurnletVirtualDisplaySerialNumber(const UUIDBytes& uuid) {
  std::uint32_t hash = uuid[0];
  for (std::size_t i = 1; i < uuid.size(); ++i) hash = (hash * 33u) ^ uuid[i];
  return hash == 0 ? 1 : hash;
}

ObjectRef TurnletVirtualDisplayCreateSettings(ObjectRuntime& runtime, const ClassRef& modeClass,
                                              const ClassRef& settingsClass, std::uint64_t logicalWidth,
                                              std::uint64_t logicalHeight) {
  ObjectRef mode = runtime.initWithWidthHeightRefreshRate(modeClass, logicalWidth, logicalHeight, kRefreshRateHz);
  ObjectRef settings = runtime.allocInit(settingsClass);
  runtime.setValueForKey(settings, "modes", ObjectList{mode});
  runtime.setValueForKey(settings, "hiDPI", true);
  return settings;
}

std::shared_ptr<TurnletVirtualDisplay> TurnletVirtualDisplay::create(
    ObjectRuntime& runtime, std::uint32_t pixelWidth, std::uint32_t pixelHeight, std::uint32_t logicalWidth,
    std::uint32_t logicalHeight, std::optional<PlatformError>* error, const UUIDSource& uuidSource) {
  auto wrapper = std::make_shared<TurnletVirtualDisplay>(Private{}, runtime);
  try {
    wrapper->build(pixelWidth, pixelHeight, logicalWidth, logicalHeight, uuidSource);
  } catch (const PlatformError& e) {
    report(error, e);
    return nullptr;  // releases the display and descriptor made so far
  } catch (const PlatformException& e) {
    report(error, exceptionError(e));
    return nullptr;
  }
  return wrapper;
}

void TurnletVirtualDisplay::build(std::uint32_t pixelWidth, std::uint32_t pixelHeight, std::uint32_t logicalWidth,
                                  std::uint32_t logicalHeight, const UUIDSource& uuidSource) {
  if (!isExactHiDPI(pixelWidth, pixelHeight, logicalWidth, logicalHeight))
    fail(Code::invalidDimensions,
         "HiDPI dimensions must be nonzero and pixels must be exactly twice the logical dimensions.");

  const ClassRef descriptorClass = runtime.lookUpClass(kDescriptorClass);
  const ClassRef displayClass = runtime.lookUpClass(kDisplayClass);
  const ClassRef modeClass = runtime.lookUpClass(kModeClass);
  const ClassRef settingsClass = runtime.lookUpClass(kSettingsClass);
  if (!descriptorClass || !displayClass || !modeClass || !settingsClass)
    fail(Code::unsupported, "This macOS version does not expose the required private virtual display classes.");

  if (!modeAndSettingsUsable(runtime, modeClass, settingsClass) ||
      !runtime.instancesRespondToSelector(displayClass, "initWithDescriptor:") ||
      !runtime.instancesRespondToSelector(displayClass, "applySettings:") ||
      !takesSentTypes(runtime, displayClass, "initWithDescriptor:", kDisplayInitTypes) ||
      !takesSentTypes(runtime, displayClass, "applySettings:", kApplySettingsTypes))
    fail(Code::unsupported, kIncompatible);

  ObjectRef newDescriptor = runtime.allocInit(descriptorClass);
  for (const char* setter : {"setName:", "setMaxPixelsWide:", "setMaxPixelsHigh:", "setSizeInMillimeters:",
                             "setVendorID:", "setProductID:", "setSerialNum:"}) {
    if (!runtime.respondsToSelector(newDescriptor, setter))
      fail(Code::unsupported, std::string("The private display descriptor is missing ") + setter + ".");
  }
  std::string queueSetter;
  if (runtime.respondsToSelector(newDescriptor, "setQueue:"))
    queueSetter = "setQueue:";
  else if (runtime.respondsToSelector(newDescriptor, "setDispatchQueue:"))
    queueSetter = "setDispatchQueue:";
  else
    fail(Code::unsupported, "The private display descriptor cannot be assigned a dispatch queue.");
  if (!takesSentTypes(runtime, descriptorClass, queueSetter, kQueueSetterTypes))
    fail(Code::unsupported, kIncompatible);

  const std::uint32_t serial = TurnletVirtualDisplaySerialNumber(uuidSource ? uuidSource() : TurnletRandomUUIDBytes());
  const std::uint32_t maximum = std::max(pixelWidth, pixelHeight);
  runtime.setValueForKey(newDescriptor, "name", std::string(TurnletVirtualDisplayName));
  runtime.setValueForKey(newDescriptor, "maxPixelsWide", maximum);
  runtime.setValueForKey(newDescriptor, "maxPixelsHigh", maximum);
  runtime.setValueForKey(
      newDescriptor, "sizeInMillimeters",
      BoxedSize{logicalWidth * kMillimetresPerInch / kPointsPerInch, logicalHeight * kMillimetresPerInch / kPointsPerInch,
                "{CGSize=dd}"});
  runtime.setValueForKey(newDescriptor, "vendorID", static_cast<std::int32_t>(TurnletVirtualDisplayVendorID));
  runtime.setValueForKey(newDescriptor, "productID", static_cast<std::int32_t>(TurnletVirtualDisplayProductID));
  runtime.setValueForKey(newDescriptor, "serialNum", serial);
  runtime.setMainQueue(newDescriptor, queueSetter);

  ObjectRef settings =
      TurnletVirtualDisplayCreateSettings(runtime, modeClass, settingsClass, logicalWidth, logicalHeight);

  ObjectRef newDisplay = runtime.initWithDescriptor(displayClass, newDescriptor);
  if (!newDisplay) fail(Code::creationFailed, "CoreGraphics could not create the virtual display.");
  // Held from here on, so that any later failure releases the display along with the wrapper.
  descriptor = std::move(newDescriptor);
  display = std::move(newDisplay);

  if (!runtime.applySettings(display, settings))
    fail(Code::platformFailure, "CoreGraphics could not apply the requested HiDPI display mode.");
  if (!runtime.respondsToSelector(display, "displayID"))
    fail(Code::unsupported, "The private virtual display does not expose a display ID.");

  maximumPixels = maximum;
  id = runtime.displayID(display);
  if (id == 0) fail(Code::creationFailed, "CoreGraphics returned an invalid virtual display ID.");
}

bool TurnletVirtualDisplay::resize(std::uint64_t pixelWidth, std::uint64_t pixelHeight, std::uint64_t logicalWidth,
                                   std::uint64_t logicalHeight, std::optional<PlatformError>* error) {
  try {
    applySize(pixelWidth, pixelHeight, logicalWidth, logicalHeight);
  } catch (const PlatformError& e) {
    report(error, e);
    return false;
  } catch (const PlatformException& e) {
    report(error, exceptionError(e));
    return false;
  }
  return true;
}

void TurnletVirtualDisplay::applySize(std::uint64_t pixelWidth, std::uint64_t pixelHeight, std::uint64_t logicalWidth,
                                      std::uint64_t logicalHeight) {
  const bool inRange = pixelWidth < kPixelLimit && pixelHeight < kPixelLimit && logicalWidth < kPixelLimit &&
                       logicalHeight < kPixelLimit;
  if (!inRange || !isExactHiDPI(pixelWidth, pixelHeight, logicalWidth, logicalHeight) || pixelWidth > maximumPixels ||
      pixelHeight > maximumPixels)
    fail(Code::invalidDimensions,
         "The requested HiDPI dimensions are invalid or exceed the virtual display's configured pixel bounds.");

  const char* unsupported = "The private virtual display API cannot resize this display on this macOS version.";
  const ClassRef modeClass = runtime.lookUpClass(kModeClass);
  const ClassRef settingsClass = runtime.lookUpClass(kSettingsClass);
  if (!modeClass || !settingsClass) fail(Code::unsupported, unsupported);
  if (!modeAndSettingsUsable(runtime, modeClass, settingsClass) ||
      !runtime.respondsToSelector(display, "applySettings:"))
    fail(Code::unsupported, unsupported);

  ObjectRef settings =
      TurnletVirtualDisplayCreateSettings(runtime, modeClass, settingsClass, logicalWidth, logicalHeight);
  if (!runtime.applySettings(display, settings))
    fail(Code::platformFailure, "CoreGraphics could not apply the requested virtual display size.");
}

}  // namespace turnlet
