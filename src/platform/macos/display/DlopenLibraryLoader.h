#pragma once

#include "platform/LibraryLoader.h"

namespace turnlet::macos {

// Libraries loaded at run time with dlopen, dlsym and dlclose. The interface's mode bits become
// the system's (LibraryMode); a mode that is not understood opens nothing. Main thread only.
class DlopenLibraryLoader final : public LibraryLoader {
 public:
  std::unique_ptr<LoadedLibrary> open(const std::string& path, int mode) override;
};

}  // namespace turnlet::macos
