#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/HotKeys.h"
#include "platform/MainLoop.h"

namespace turnlet::sim {

// The simulated Mac's system-wide key combinations. The desktop delivers a key press to the
// registered combination whichever window has focus; combinations another application holds
// cannot be registered. Main loop only.
class SimHotKeys : public HotKeys {
 public:
  explicit SimHotKeys(MainLoop& loop) : loop(loop) {}

  // Combinations other applications hold (set by tests and the World menu).
  std::vector<KeyEquivalent> heldElsewhere;

  std::unique_ptr<HotKey> registerHotKey(const KeyEquivalent& key, std::function<void()> pressed) override;
  // The user presses `key`: a registered combination's handler runs later on the main loop, if
  // it is still registered then. True when one is registered.
  bool press(const KeyEquivalent& key);
  std::vector<KeyEquivalent> registered() const;

 private:
  struct Registration {
    KeyEquivalent key;
    std::function<void()> pressed;
  };
  using Registry = std::map<std::uint64_t, Registration>;

  MainLoop& loop;
  std::shared_ptr<Registry> registry = std::make_shared<Registry>();
  std::uint64_t next = 1;
};

}  // namespace turnlet::sim
