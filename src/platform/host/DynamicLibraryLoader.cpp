#include "host/DynamicLibraryLoader.h"

#include <dlfcn.h>

namespace turnlet::host {

namespace {

class DynamicLibrary : public LoadedLibrary {
 public:
  explicit DynamicLibrary(void* handle) : handle(handle) {}
  ~DynamicLibrary() override { dlclose(handle); }
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  std::optional<DisplayFloatFunction> displayFloatFunction(const std::string& symbol) override {
    void* address = dlsym(handle, symbol.c_str());
    if (!address) return std::nullopt;
    using Function = std::int32_t (*)(std::uint32_t, float*);
    return DisplayFloatFunction(reinterpret_cast<Function>(address));
  }

  const void* symbolAddress(const std::string& symbol) override { return dlsym(handle, symbol.c_str()); }

 private:
  void* handle;
};

}  // namespace

std::optional<int> DynamicLibraryLoader::hostMode(int platformMode) {
  int mode = 0;
  int rest = platformMode;
  auto take = [&](int platformBit, int hostBit) {
    if (rest & platformBit) mode |= hostBit;
    rest &= ~platformBit;
  };
  take(libraryLoadLazy, RTLD_LAZY);
  take(libraryLoadNow, RTLD_NOW);
  take(libraryLoadLocal, RTLD_LOCAL);
  take(libraryLoadGlobal, RTLD_GLOBAL);
  const bool oneBinding = ((platformMode & libraryLoadLazy) != 0) != ((platformMode & libraryLoadNow) != 0);
  if (rest != 0 || !oneBinding) return std::nullopt;
  return mode;
}

std::unique_ptr<LoadedLibrary> DynamicLibraryLoader::open(const std::string& path, int mode) {
  const auto host = hostMode(mode);
  if (!host) return nullptr;
  void* handle = dlopen(path.c_str(), *host);
  if (!handle) return nullptr;
  return std::make_unique<DynamicLibrary>(handle);
}

}  // namespace turnlet::host
