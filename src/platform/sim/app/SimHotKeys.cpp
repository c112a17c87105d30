#include "sim/app/SimHotKeys.h"

#include <algorithm>
#include <utility>

#include "platform/Errors.h"

namespace turnlet::sim {

namespace {

// Unregisters on release; harmless once the registry is gone.
class SimHotKey : public HotKey {
 public:
  explicit SimHotKey(std::function<void()> unregister) : unregister(std::move(unregister)) {}
  ~SimHotKey() override { unregister(); }

 private:
  std::function<void()> unregister;
};

}  // namespace

std::unique_ptr<HotKey> SimHotKeys::registerHotKey(const KeyEquivalent& key, std::function<void()> pressed) {
  const auto taken = [&key](const KeyEquivalent& other) { return other == key; };
  const auto ours = registered();
  if (std::any_of(heldElsewhere.begin(), heldElsewhere.end(), taken) || std::any_of(ours.begin(), ours.end(), taken))
    throw PlatformError("OSStatus", -9878, "Another application already uses this shortcut (-9878).");
  const std::uint64_t id = next++;
  registry->emplace(id, Registration{key, std::move(pressed)});
  return std::make_unique<SimHotKey>([weak = std::weak_ptr<Registry>(registry), id] {
    if (auto r = weak.lock()) r->erase(id);
  });
}

bool SimHotKeys::press(const KeyEquivalent& key) {
  for (const auto& [id, registration] : *registry) {
    if (!(registration.key == key)) continue;
    loop.post([weak = std::weak_ptr<Registry>(registry), id = id] {
      auto r = weak.lock();
      if (!r || !r->count(id)) return;
      auto pressed = r->at(id).pressed;
      pressed();
    });
    return true;
  }
  return false;
}

std::vector<KeyEquivalent> SimHotKeys::registered() const {
  std::vector<KeyEquivalent> keys;
  for (const auto& [id, registration] : *registry) keys.push_back(registration.key);
  return keys;
}

}  // namespace turnlet::sim
