#include "sim/display/SimLibraryLoader.h"

#include <cmath>
#include <limits>

namespace turnlet::sim {

namespace {

// What a symbol the simulated libraries have points at: nothing callable, since the services that
// read one answer with closures of their own.
const char symbolMarker = 0;

float asFloat(double value) {
  // Converting a double beyond the float's range is undefined; the platform would hand back an
  // infinity.
  constexpr double largest = std::numeric_limits<float>::max();
  if (value > largest) return std::numeric_limits<float>::infinity();
  if (value < -largest) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

class SimLibrary : public LoadedLibrary {
 public:
  SimLibrary(std::shared_ptr<const bool> symbolMissing, std::shared_ptr<int> openCount, DisplayFloatFunction brightness)
      : symbolMissing(std::move(symbolMissing)), openCount(std::move(openCount)), brightness(std::move(brightness)) {
    ++*this->openCount;
  }
  ~SimLibrary() override { --*openCount; }

  std::optional<DisplayFloatFunction> displayFloatFunction(const std::string& symbol) override {
    if (symbol != SimLibraryLoader::brightnessSymbol || *symbolMissing) return std::nullopt;
    return brightness;
  }
  const void* symbolAddress(const std::string& symbol) override {
    return symbol == SimLibraryLoader::brightnessSymbol && !*symbolMissing ? &symbolMarker : nullptr;
  }

 private:
  std::shared_ptr<const bool> symbolMissing;
  std::shared_ptr<int> openCount;
  DisplayFloatFunction brightness;
};

class SimCoreGraphics : public LoadedLibrary {
 public:
  SimCoreGraphics(bool symbolMissing, std::shared_ptr<int> openCount)
      : symbolMissing(symbolMissing), openCount(std::move(openCount)) {
    ++*this->openCount;
  }
  ~SimCoreGraphics() override { --*openCount; }
  std::optional<DisplayFloatFunction> displayFloatFunction(const std::string&) override { return std::nullopt; }
  const void* symbolAddress(const std::string& symbol) override {
    return symbol == SimLibraryLoader::windowLocationSymbol && !symbolMissing ? &symbolMarker : nullptr;
  }

 private:
  bool symbolMissing;
  std::shared_ptr<int> openCount;
};

}  // namespace

SimLibraryLoader::SimLibraryLoader(DisplayServer& displays)
    : state(std::make_shared<State>(State{displays, {}, false, std::nullopt})),
      symbolMissing(state->symbolMissing),
      failBrightness(state->fail) {}

std::unique_ptr<LoadedLibrary> SimLibraryLoader::open(const std::string& path, int mode) {
  modes.push_back(mode);
  if (path == coreGraphicsPath)
    return coreGraphicsMissing ? nullptr : std::make_unique<SimCoreGraphics>(windowLocationMissing, openCount);
  if (path != displayServicesPath || libraryMissing) return nullptr;
  DisplayFloatFunction brightness = [weak = std::weak_ptr<State>(state)](DisplayID display, float* value) {
    auto s = weak.lock();
    if (!s || !value) return errorIllegalArgument;
    if (s->fail) return *s->fail;
    const SimDisplay* d = s->displays.find(display);
    if (!d) return errorIllegalArgument;
    auto it = s->brightness.find(display);
    if (it == s->brightness.end() && !d->builtIn) return errorIllegalArgument;
    *value = it == s->brightness.end() ? 1.0f : asFloat(it->second);
    return std::int32_t{0};
  };
  // The library reads the flag through the shared state, so it may outlive the loader.
  return std::make_unique<SimLibrary>(std::shared_ptr<const bool>(state, &state->symbolMissing), openCount,
                                      std::move(brightness));
}

}  // namespace turnlet::sim
