#pragma once

#include <functional>
#include <memory>

#include "platform/Menu.h"

namespace turnlet {

// A registered system-wide key combination; releasing it unregisters it.
class HotKey {
 public:
  virtual ~HotKey() = default;
};

// Key combinations the application answers whichever application is active, with no permission
// needed. Main loop only.
class HotKeys {
 public:
  virtual ~HotKeys() = default;
  // `pressed` runs on the main loop each time the combination is pressed, until the result is
  // released. Throws Error when the system refuses, as when another application holds it.
  virtual std::unique_ptr<HotKey> registerHotKey(const KeyEquivalent& key, std::function<void()> pressed) = 0;
};

}  // namespace turnlet
