#pragma once

#include <optional>

namespace turnlet::macos {

// The system's dlopen mode bits (RTLD_LAZY, RTLD_NOW, RTLD_LOCAL, RTLD_GLOBAL), handed in by the
// service so that the mapping is tested with any values.
struct DlopenBits final {
  int lazy = 0;
  int now = 0;
  int local = 0;
  int global = 0;
};

// The system's mode for the interface's bits (libraryLoadLazy and the others): each bit mapped to
// its counterpart. Absent, so nothing is opened, when a bit has no counterpart, when both or
// neither binding is asked for, or when both visibilities are.
std::optional<int> dlopenMode(int platformMode, const DlopenBits& system);

}  // namespace turnlet::macos
