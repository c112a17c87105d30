#pragma once

#include <memory>

#include "platform/WindowServices.h"

namespace turnlet {

// The black window of the rotation fade: an ordinary window that never becomes key or main.
struct CoverWindow {
  static std::unique_ptr<PlatformWindow> make(WindowServices& windows, WindowFrame contentRect, WindowStyleMask style,
                                              BackingStoreType backing, bool defer);
};

}  // namespace turnlet
