#include "macos/display/LibraryMode.h"

#include "platform/LibraryLoader.h"

namespace turnlet::macos {

std::optional<int> dlopenMode(int platformMode, const DlopenBits& system) {
  constexpr int known = libraryLoadLazy | libraryLoadNow | libraryLoadLocal | libraryLoadGlobal;
  if ((platformMode & ~known) != 0) return std::nullopt;
  const bool lazy = (platformMode & libraryLoadLazy) != 0;
  const bool now = (platformMode & libraryLoadNow) != 0;
  const bool local = (platformMode & libraryLoadLocal) != 0;
  const bool global = (platformMode & libraryLoadGlobal) != 0;
  if (lazy == now || (local && global)) return std::nullopt;
  return (lazy ? system.lazy : system.now) | (local ? system.local : 0) | (global ? system.global : 0);
}

}  // namespace turnlet::macos
