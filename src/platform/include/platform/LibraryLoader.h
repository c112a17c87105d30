#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/DisplayServices.h"

namespace turnlet {

// Loading modes, the platform's bits.
inline constexpr int libraryLoadLazy = 0x1;
inline constexpr int libraryLoadNow = 0x2;
inline constexpr int libraryLoadLocal = 0x4;
inline constexpr int libraryLoadGlobal = 0x8;

// A library function of the form int32 f(uint32 display, float* value): fills the value for the
// display and returns 0 on success, an error number otherwise.
using DisplayFloatFunction = std::function<std::int32_t(DisplayID display, float* value)>;

// A library loaded at run time. Destroying it closes the library; functions looked up in it must
// not be called after that.
class LoadedLibrary {
 public:
  virtual ~LoadedLibrary() = default;
  // The named symbol, read as a function of that form; absent when the library lacks it.
  virtual std::optional<DisplayFloatFunction> displayFloatFunction(const std::string& symbol) = 0;
  // The named symbol's address (dlsym); null when the library lacks it. Only the service whose
  // objects the function works on reads it as a function (InputEvents::windowLocationSetter).
  virtual const void* symbolAddress(const std::string& symbol) = 0;
};

// Opens libraries by path at run time. Main loop only.
class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  // Null when the library is missing, cannot be loaded or the mode is not understood. The caller
  // owns the result.
  virtual std::unique_ptr<LoadedLibrary> open(const std::string& path, int mode) = 0;
};

}  // namespace turnlet
