#pragma once

#include <optional>

#include "platform/LibraryLoader.h"

namespace turnlet::host {

// Libraries of the machine we run on, through dlopen, dlsym and dlclose. Modes arrive as the
// platform's bits and are translated to this machine's; a mode with bits it has no meaning for
// here is refused rather than passed on.
class DynamicLibraryLoader : public LibraryLoader {
 public:
  std::unique_ptr<LoadedLibrary> open(const std::string& path, int mode) override;

  // This machine's dlopen mode for the platform's bits; absent when a bit has no equivalent.
  static std::optional<int> hostMode(int platformMode);
};

}  // namespace turnlet::host
