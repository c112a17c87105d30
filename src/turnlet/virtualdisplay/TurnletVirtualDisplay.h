#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DisplayServices.h"
#include "platform/Errors.h"
#include "platform/ObjectRuntime.h"
#include "virtualdisplay/TurnletVirtualDisplayName.h"

namespace turnlet {

inline constexpr std::string_view TurnletVirtualDisplayErrorDomain = "Turnlet.VirtualDisplay";

enum class TurnletVirtualDisplayErrorCode : std::int64_t {
  unsupported = 1,        // classes or selectors missing or changed
  invalidDimensions = 2,  // sizes zero, not exactly HiDPI, or beyond the creation bounds
  creationFailed = 3,     // no display, or no valid id
  platformFailure = 4,    // a mode was refused, or the private API raised
};

// An error in the domain "Turnlet.VirtualDisplay" whose description is the sentence.
PlatformError TurnletVirtualDisplayMakeError(TurnletVirtualDisplayErrorCode code, std::string sentence);

using UUIDBytes = std::array<std::uint8_t, 16>;
using UUIDSource = std::function<UUIDBytes()>;

// A fresh random (version 4) UUID.
UUIDBytes TurnletRandomUUIDBytes();

// The descriptor's serial number for a UUID: never 0.
std::uint32_t TurnletVirtualDisplaySerialNumber(const UUIDBytes& uuid);

// A settings object with one mode of the logical size at 60 Hz and HiDPI on. Raises what the
// runtime raises.
ObjectRef TurnletVirtualDisplayCreateSettings(ObjectRuntime& runtime, const ClassRef& modeClass,
                                              const ClassRef& settingsClass, std::uint64_t logicalWidth,
                                              std::uint64_t logicalHeight);

// The program's HiDPI virtual display, made through the private CoreGraphics classes found at
// run time. The display exists exactly as long as this object: create() makes it, resize()
// changes its mode any number of times (the id stays), and dropping the last reference removes
// it. Sizes: logical in points, pixels exactly twice as many.
//
// Failures are errors in the domain "Turnlet.VirtualDisplay" (codes above) reported through the
// optional out-parameter; without one, create() gives null and resize() false, silently. Nothing
// throws. Main loop only; the runtime outlives the wrapper.
class TurnletVirtualDisplay {
  struct Private {};

 public:
  static std::shared_ptr<TurnletVirtualDisplay> create(ObjectRuntime& runtime, std::uint32_t pixelWidth,
                                                       std::uint32_t pixelHeight, std::uint32_t logicalWidth,
                                                       std::uint32_t logicalHeight,
                                                       std::optional<PlatformError>* error = nullptr,
                                                       const UUIDSource& uuidSource = TurnletRandomUUIDBytes);

  // What the private classes lack, or take other types for, of what the program sends them, one
  // phrase each ("CGVirtualDisplaySettings lacks setHiDPI:"); empty when creation can use them.
  // Asks the classes only: makes no object.
  static std::vector<std::string> interfaceProblems(ObjectRuntime& runtime);

  // The error out-parameter is left as it was on success.
  bool resize(std::uint64_t pixelWidth, std::uint64_t pixelHeight, std::uint64_t logicalWidth,
              std::uint64_t logicalHeight, std::optional<PlatformError>* error = nullptr);

  DisplayID displayID() const { return id; }
  // The larger pixel side at creation; bounds every later resize in both directions.
  std::uint32_t maximumPixelDimension() const { return maximumPixels; }
  const ObjectRef& privateDisplay() const { return display; }
  const ObjectRef& privateDescriptor() const { return descriptor; }

  explicit TurnletVirtualDisplay(Private, ObjectRuntime& runtime) : runtime(runtime) {}

 private:
  void build(std::uint32_t pixelWidth, std::uint32_t pixelHeight, std::uint32_t logicalWidth,
             std::uint32_t logicalHeight, const UUIDSource& uuidSource);
  void applySize(std::uint64_t pixelWidth, std::uint64_t pixelHeight, std::uint64_t logicalWidth,
                 std::uint64_t logicalHeight);

  ObjectRuntime& runtime;
  DisplayID id = 0;
  std::uint32_t maximumPixels = 0;
  // Declared before the display so that the display is released first.
  ObjectRef descriptor;
  ObjectRef display;
};

}  // namespace turnlet
