#include "sim/display/VirtualDisplayClasses.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <utility>

namespace turnlet::sim {

namespace {

constexpr double kHiDPIScale = 2;  // pixels per point

class SimClass : public PlatformClass {
 public:
  explicit SimClass(std::string name) : name(std::move(name)) {}
  std::string name;
};

const std::string& classNameOf(const ClassRef& cls) {
  auto* sim = dynamic_cast<const SimClass*>(cls.get());
  if (!sim) throw PlatformException("NSInvalidArgumentException", "not a class of this runtime");
  return sim->name;
}

double numberIn(const std::map<std::string, ObjectValue>& values, const std::string& key) {
  auto it = values.find(key);
  if (it == values.end()) return 0;
  if (auto* u = std::get_if<std::uint32_t>(&it->second)) return *u;
  if (auto* i = std::get_if<std::int32_t>(&it->second)) return *i;
  if (auto* d = std::get_if<double>(&it->second)) return *d;
  if (auto* b = std::get_if<bool>(&it->second)) return *b ? 1 : 0;
  return 0;
}

std::uint32_t unsignedIn(const std::map<std::string, ObjectValue>& values, const std::string& key) {
  const double n = numberIn(values, key);
  if (!(n >= 0) || n > std::numeric_limits<std::uint32_t>::max()) return 0;
  return static_cast<std::uint32_t>(n);
}

PlatformException unrecognizedSelector(const std::string& className, std::string_view selector) {
  return PlatformException("NSInvalidArgumentException", "-[" + className + " " + std::string(selector) +
                                                             "]: unrecognized selector sent to instance");
}

}  // namespace

class VirtualDisplayClasses::Object : public PlatformObject {
 public:
  Object(std::string className, std::weak_ptr<VirtualDisplayClasses*> runtime)
      : className(std::move(className)), runtime(std::move(runtime)) {}

  // Releasing a display object removes its display, as long as the simulated system still runs.
  ~Object() override {
    if (!display) return;
    if (auto owner = runtime.lock()) (*owner)->release(*display);
  }

  std::string className;
  std::map<std::string, ObjectValue> values;
  std::optional<std::string> queueSetter;
  std::optional<DisplayID> display;
  std::weak_ptr<VirtualDisplayClasses*> runtime;
};

VirtualDisplayClasses::VirtualDisplayClasses(MainLoop& loop, DisplayServer& displays)
    : loop(loop), displays(displays), self(std::make_shared<VirtualDisplayClasses*>(this)) {
  classes["CGVirtualDisplayDescriptor"] = {
      "init",         "setName:",      "setMaxPixelsWide:", "setMaxPixelsHigh:", "setSizeInMillimeters:",
      "setVendorID:", "setProductID:", "setSerialNum:",     "setQueue:"};
  classes["CGVirtualDisplay"] = {"init", "initWithDescriptor:", "applySettings:", "displayID"};
  classes["CGVirtualDisplayMode"] = {"init", "initWithWidth:height:refreshRate:", "width", "height", "refreshRate"};
  classes["CGVirtualDisplaySettings"] = {"init", "setModes:", "setHiDPI:", "modes", "hiDPI"};
  encodings[{"CGVirtualDisplayMode", "initWithWidth:height:refreshRate:"}] = "@40@0:8Q16Q24d32";
  encodings[{"CGVirtualDisplay", "initWithDescriptor:"}] = "@24@0:8@16";
  encodings[{"CGVirtualDisplay", "applySettings:"}] = "B24@0:8@16";
  encodings[{"CGVirtualDisplayDescriptor", "setQueue:"}] = "v24@0:8@16";
  encodings[{"CGVirtualDisplayDescriptor", "setDispatchQueue:"}] = "v24@0:8@16";
}

VirtualDisplayClasses::~VirtualDisplayClasses() {
  self.reset();
  for (auto& [id, display] : records)
    for (MainLoop::TimerId timer : display.pendingModeSwitches) loop.cancel(timer);
}

void VirtualDisplayClasses::record(std::string call) {
  callLog.push_back(std::move(call));
  if (auto it = raises.find(callLog.back()); it != raises.end()) throw it->second;
}

VirtualDisplayClasses::Object& VirtualDisplayClasses::objectOf(const ObjectRef& object, std::string_view selector) {
  auto* sim = dynamic_cast<Object*>(object.get());
  if (!sim) throw PlatformException("NSInvalidArgumentException", "not an object of this runtime");
  record(sim->className + " " + std::string(selector));
  if (!classHas(sim->className, selector)) throw unrecognizedSelector(sim->className, selector);
  return *sim;
}

bool VirtualDisplayClasses::classHas(const std::string& className, std::string_view selector) const {
  auto it = classes.find(className);
  return it != classes.end() && it->second.contains(std::string(selector));
}

ClassRef VirtualDisplayClasses::lookUpClass(std::string_view name) {
  record("lookUpClass " + std::string(name));
  if (classes.find(name) == classes.end()) return nullptr;
  return std::make_shared<SimClass>(std::string(name));
}

bool VirtualDisplayClasses::instancesRespondToSelector(const ClassRef& cls, std::string_view selector) {
  const std::string& name = classNameOf(cls);
  record(name + " instancesRespondToSelector: " + std::string(selector));
  return classHas(name, selector);
}

std::optional<std::string> VirtualDisplayClasses::instanceMethodTypeEncoding(const ClassRef& cls,
                                                                            std::string_view selector) {
  const std::string& name = classNameOf(cls);
  record(name + " instanceMethodTypeEncoding: " + std::string(selector));
  auto found = encodings.find({name, std::string(selector)});
  if (!classHas(name, selector) || found == encodings.end()) return std::nullopt;
  return found->second;
}

void VirtualDisplayClasses::setTypeEncoding(const std::string& className, const std::string& selector,
                                            std::string encoding) {
  encodings[{className, selector}] = std::move(encoding);
}

bool VirtualDisplayClasses::respondsToSelector(const ObjectRef& object, std::string_view selector) {
  auto* sim = dynamic_cast<Object*>(object.get());
  if (!sim) return false;
  record(sim->className + " respondsToSelector: " + std::string(selector));
  return classHas(sim->className, selector);
}

ObjectRef VirtualDisplayClasses::allocInit(const ClassRef& cls) {
  const std::string& name = classNameOf(cls);
  record(name + " alloc init");
  return std::make_shared<Object>(name, self);
}

void VirtualDisplayClasses::setValueForKey(const ObjectRef& object, std::string_view key, ObjectValue value) {
  auto* sim = dynamic_cast<Object*>(object.get());
  if (!sim) throw PlatformException("NSInvalidArgumentException", "not an object of this runtime");
  const std::string name(key);
  record(sim->className + " setValue:forKey: " + name);
  std::string setter = "set" + name + ":";
  if (!name.empty()) setter[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  if (!classHas(sim->className, setter))
    throw PlatformException("NSUnknownKeyException", "[<" + sim->className +
                                                         "> setValue:forUndefinedKey:]: this class is not key value "
                                                         "coding-compliant for the key " +
                                                         name + ".");
  if (name == "sizeInMillimeters") {
    auto* size = std::get_if<BoxedSize>(&value);
    if (!size || size->typeEncoding != "{CGSize=dd}")
      throw PlatformException("NSInvalidArgumentException", "sizeInMillimeters needs a boxed CGSize");
  }
  if (name == "modes" && !std::holds_alternative<ObjectList>(value))
    throw PlatformException("NSInvalidArgumentException", "modes needs an array");
  sim->values[name] = std::move(value);
}

void VirtualDisplayClasses::setMainQueue(const ObjectRef& object, std::string_view setter) {
  objectOf(object, setter).queueSetter = std::string(setter);
}

ObjectRef VirtualDisplayClasses::initWithWidthHeightRefreshRate(const ClassRef& modeClass, std::uint64_t width,
                                                                std::uint64_t height, double refreshRateHz) {
  const std::string& name = classNameOf(modeClass);
  const std::string selector = "initWithWidth:height:refreshRate:";
  record(name + " " + selector);
  if (!classHas(name, selector)) throw unrecognizedSelector(name, selector);
  auto mode = std::make_shared<Object>(name, self);
  mode->values["width"] = static_cast<double>(width);
  mode->values["height"] = static_cast<double>(height);
  mode->values["refreshRate"] = refreshRateHz;
  return mode;
}

ObjectRef VirtualDisplayClasses::initWithDescriptor(const ClassRef& displayClass, const ObjectRef& descriptor) {
  const std::string& name = classNameOf(displayClass);
  const std::string selector = "initWithDescriptor:";
  record(name + " " + selector);
  if (!classHas(name, selector)) throw unrecognizedSelector(name, selector);
  auto* source = dynamic_cast<Object*>(descriptor.get());
  if (!source) throw PlatformException("NSInvalidArgumentException", "initWithDescriptor: needs a descriptor");
  if (initWithDescriptorYieldsNothing) return nullptr;
  const DisplayID id = displays.reserveID();
  records[id] = DisplayRecord{source->values, false, {}, {}};
  auto display = std::make_shared<Object>(name, self);
  display->display = id;
  return display;
}

bool VirtualDisplayClasses::applySettings(const ObjectRef& display, const ObjectRef& settings) {
  Object& target = objectOf(display, "applySettings:");
  if (applySettingsReturnsFalse || !target.display) return false;
  auto rec = records.find(*target.display);
  auto* config = dynamic_cast<Object*>(settings.get());
  if (rec == records.end() || !config) return false;

  auto modes = config->values.find("modes");
  auto* list = modes == config->values.end() ? nullptr : std::get_if<ObjectList>(&modes->second);
  if (!list || list->empty()) return false;
  auto* mode = dynamic_cast<Object*>(list->front().get());
  if (!mode || mode->className != "CGVirtualDisplayMode") return false;
  const Size points{numberIn(mode->values, "width"), numberIn(mode->values, "height")};
  if (!(points.width > 0) || !(points.height > 0)) return false;
  const double scale = numberIn(config->values, "hiDPI") != 0 ? kHiDPIScale : 1;
  // The descriptor bounds every mode the display can take.
  if (points.width * scale > unsignedIn(rec->second.descriptor, "maxPixelsWide") ||
      points.height * scale > unsignedIn(rec->second.descriptor, "maxPixelsHigh"))
    return false;

  Settings applied{{}, scale != 1};
  for (const auto& each : *list)
    if (auto* m = dynamic_cast<Object*>(each.get()))
      applied.modes.push_back({numberIn(m->values, "width"), numberIn(m->values, "height"), numberIn(m->values, "refreshRate")});
  rec->second.applied = std::move(applied);
  const Size shown{points.width + shownSizeDifference.width, points.height + shownSizeDifference.height};
  const DisplayID id = rec->first;
  if (!rec->second.connected) {
    if (displaysAppear) connectDisplay(id, rec->second, shown, scale);
    return true;
  }
  auto timer = std::make_shared<MainLoop::TimerId>(0);
  *timer = loop.schedule(modeSwitchDelaySeconds, [weak = std::weak_ptr(self), id, points = shown, timer] {
    auto owner = weak.lock();
    if (!owner) return;
    VirtualDisplayClasses& classes = **owner;
    auto it = classes.records.find(id);
    if (it == classes.records.end()) return;
    it->second.pendingModeSwitches.erase(*timer);
    if (const SimDisplay* shown = classes.displays.find(id))
      classes.displays.setBounds(id, Rect(shown->bounds.origin, points));
  });
  rec->second.pendingModeSwitches.insert(*timer);
  return true;
}

std::optional<VirtualDisplayClasses::Settings> VirtualDisplayClasses::settingsOf(DisplayID display) const {
  auto rec = records.find(display);
  return rec == records.end() ? std::nullopt : rec->second.applied;
}

std::uint32_t VirtualDisplayClasses::displayID(const ObjectRef& display) {
  Object& target = objectOf(display, "displayID");
  if (displayIDAnswersZero) return 0;
  return target.display.value_or(0);
}

void VirtualDisplayClasses::connectDisplay(DisplayID id, DisplayRecord& display, Size points, double scale) {
  const auto& values = display.descriptor;
  SimDisplay shown;
  shown.id = id;
  if (auto it = values.find("name"); it != values.end())
    if (auto* name = std::get_if<std::string>(&it->second)) shown.name = *name;
  shown.vendor = unsignedIn(values, "vendorID");
  shown.product = unsignedIn(values, "productID");
  shown.serial = unsignedIn(values, "serialNum");
  char uuid[40];
  std::snprintf(uuid, sizeof uuid, "%04X%04X-0000-0000-0000-0000%08X", shown.vendor & 0xFFFFu, shown.product & 0xFFFFu,
                shown.serial);
  shown.uuid = uuid;
  shown.scale = scale;
  shown.isVirtual = true;
  // To the right of the rightmost display, top edges aligned.
  Point origin{0, 0};
  bool any = false;
  for (const SimDisplay& other : displays.displays()) {
    if (!any || other.bounds.maxX() > origin.x) origin = Point{other.bounds.maxX(), other.bounds.minY()};
    any = true;
  }
  shown.bounds = Rect(origin, points);
  display.connected = true;
  displays.connect(std::move(shown));
}

void VirtualDisplayClasses::release(DisplayID id) {
  auto it = records.find(id);
  if (it == records.end()) return;
  for (MainLoop::TimerId timer : it->second.pendingModeSwitches) loop.cancel(timer);
  const bool connected = it->second.connected;
  records.erase(it);
  if (connected && releasedDisplaysLeave) displays.disconnect(id);
}

void VirtualDisplayClasses::removeClass(const std::string& name) { classes.erase(name); }

void VirtualDisplayClasses::removeSelector(const std::string& className, const std::string& selector) {
  if (auto it = classes.find(className); it != classes.end()) it->second.erase(selector);
}

void VirtualDisplayClasses::addSelector(const std::string& className, const std::string& selector) {
  classes[className].insert(selector);
}

void VirtualDisplayClasses::raiseAt(const std::string& call, const std::string& name,
                                    std::optional<std::string> reason) {
  raises.insert_or_assign(call, PlatformException(name, std::move(reason)));
}

void VirtualDisplayClasses::stopRaising() { raises.clear(); }

std::map<std::string, ObjectValue> VirtualDisplayClasses::valuesOf(const ObjectRef& object) const {
  auto* sim = dynamic_cast<const Object*>(object.get());
  return sim ? sim->values : std::map<std::string, ObjectValue>{};
}

std::optional<std::string> VirtualDisplayClasses::queueSetterOf(const ObjectRef& object) const {
  auto* sim = dynamic_cast<const Object*>(object.get());
  return sim ? sim->queueSetter : std::nullopt;
}

}  // namespace turnlet::sim
