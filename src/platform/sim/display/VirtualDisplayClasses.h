#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "platform/MainLoop.h"
#include "platform/ObjectRuntime.h"
#include "sim/world/DisplayServer.h"

namespace turnlet::sim {

// The private CoreGraphics virtual-display classes as an object runtime: CGVirtualDisplayDescriptor,
// CGVirtualDisplay, CGVirtualDisplayMode and CGVirtualDisplaySettings with their selectors.
//
// A display object made by initWithDescriptor: gets its id at once and joins the display list
// when its first settings are applied: named, numbered and serialised as its descriptor says,
// sized to the mode's points, to the right of the rightmost display and top-aligned. Later
// settings take effect modeSwitchDelaySeconds later on the loop's clock, as a real mode switch
// takes a moment. Releasing the last reference to the display object removes the display. Every
// change posts the display server's screen-parameters notification.
//
// Like the real runtime, a message to an object whose class lacks the selector raises
// NSInvalidArgumentException, and setting a key without a setter raises NSUnknownKeyException.
// Tests remove classes or selectors, make steps fail, make any call raise, and read back every
// call in order (calls()) and the values set on each object. Main loop only.
class VirtualDisplayClasses : public ObjectRuntime {
 public:
  VirtualDisplayClasses(MainLoop& loop, DisplayServer& displays);
  ~VirtualDisplayClasses() override;

  // ObjectRuntime
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

  // Faults.
  void removeClass(const std::string& name);
  void removeSelector(const std::string& className, const std::string& selector);
  void addSelector(const std::string& className, const std::string& selector);
  // The types a method takes and returns, as the runtime encodes them; the messages the program
  // sends start with those of a 64-bit Mac ("@40@0:8Q16Q24d32" for the mode's initializer).
  void setTypeEncoding(const std::string& className, const std::string& selector, std::string encoding);
  bool initWithDescriptorYieldsNothing = false;
  bool applySettingsReturnsFalse = false;
  bool displayIDAnswersZero = false;
  bool displaysAppear = true;  // false: a display object never joins the display list
  bool releasedDisplaysLeave = true;  // false: a released display stays in the display list
  // Every call that reads exactly `call` (as listed by calls()) raises until stopRaising().
  void raiseAt(const std::string& call, const std::string& name, std::optional<std::string> reason);
  void stopRaising();

  // Behaviour.
  double modeSwitchDelaySeconds = 0.3;
  // Added to each side of every mode a display comes up or switches at (points): the system shows
  // it at a size other than the one asked for.
  Size shownSizeDifference{0, 0};

  // Observations. Calls read "lookUpClass CGVirtualDisplayMode",
  // "CGVirtualDisplayMode instancesRespondToSelector: initWithWidth:height:refreshRate:",
  // "CGVirtualDisplayDescriptor respondsToSelector: setName:", "CGVirtualDisplayDescriptor alloc init",
  // "CGVirtualDisplayDescriptor setValue:forKey: name", "CGVirtualDisplayDescriptor setQueue:",
  // "CGVirtualDisplayMode initWithWidth:height:refreshRate:", "CGVirtualDisplay initWithDescriptor:",
  // "CGVirtualDisplay applySettings:", "CGVirtualDisplay displayID".
  const std::vector<std::string>& calls() const { return callLog; }
  void clearCalls() { callLog.clear(); }
  // The values set on an object by key (for a mode: "width", "height", "refreshRate"); empty for
  // an object this runtime did not make.
  std::map<std::string, ObjectValue> valuesOf(const ObjectRef& object) const;
  // The settings last applied to a display's object: its modes (points and refresh rate, in the
  // order given) and whether it is HiDPI; none before any were applied.
  struct Mode {
    double width = 0, height = 0, refreshRate = 0;
    friend bool operator==(const Mode&, const Mode&) = default;
  };
  struct Settings {
    std::vector<Mode> modes;
    bool hiDPI = false;
  };
  std::optional<Settings> settingsOf(DisplayID display) const;
  // Display objects alive now, whether or not their display has appeared.
  int liveDisplayObjects() const { return static_cast<int>(records.size()); }
  // The queue setter last sent to an object, if any.
  std::optional<std::string> queueSetterOf(const ObjectRef& object) const;

 private:
  struct DisplayRecord {
    std::map<std::string, ObjectValue> descriptor;
    bool connected = false;
    std::optional<Settings> applied;
    std::set<MainLoop::TimerId> pendingModeSwitches;
  };
  class Object;

  void record(std::string call);
  Object& objectOf(const ObjectRef& object, std::string_view selector);
  bool classHas(const std::string& className, std::string_view selector) const;
  void release(DisplayID id);
  void connectDisplay(DisplayID id, DisplayRecord& display, Size points, double scale);

  MainLoop& loop;
  DisplayServer& displays;
  std::map<std::string, std::set<std::string>, std::less<>> classes;
  std::map<std::pair<std::string, std::string>, std::string> encodings;  // by class and selector
  std::map<std::string, PlatformException> raises;
  std::vector<std::string> callLog;
  std::map<DisplayID, DisplayRecord> records;
  std::shared_ptr<VirtualDisplayClasses*> self;
};

}  // namespace turnlet::sim
