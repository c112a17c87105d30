#import "macos/display/DlopenLibraryLoader.h"

#include <dlfcn.h>

#include "macos/display/LibraryMode.h"

namespace turnlet::macos {

namespace {

class DlopenLibrary final : public LoadedLibrary {
 public:
  explicit DlopenLibrary(void* _Nonnull handle) : handle(handle) {}
  ~DlopenLibrary() override { dlclose(handle); }
  DlopenLibrary(const DlopenLibrary&) = delete;
  DlopenLibrary& operator=(const DlopenLibrary&) = delete;

  std::optional<DisplayFloatFunction> displayFloatFunction(const std::string& symbol) override {
    void* address = dlsym(handle, symbol.c_str());
    if (!address) return std::nullopt;
    // The form the interface names: int32 f(uint32 display, float* value).
    using Function = std::int32_t (*)(std::uint32_t, float*);
    return DisplayFloatFunction(reinterpret_cast<Function>(address));
  }

  const void* _Nullable symbolAddress(const std::string& symbol) override { return dlsym(handle, symbol.c_str()); }

 private:
  void* _Nonnull handle;
};

}  // namespace

std::unique_ptr<LoadedLibrary> DlopenLibraryLoader::open(const std::string& path, int mode) {
  const auto system = dlopenMode(mode, DlopenBits{RTLD_LAZY, RTLD_NOW, RTLD_LOCAL, RTLD_GLOBAL});
  if (!system) return nullptr;
  void* handle = dlopen(path.c_str(), *system);
  if (!handle) return nullptr;
  return std::make_unique<DlopenLibrary>(handle);
}

}  // namespace turnlet::macos
