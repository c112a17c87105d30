#pragma once

#include <functional>
#include <memory>

#include "macos/bridge/CallbackSlot.h"
#include "platform/Menu.h"

namespace turnlet::macos {

// A menu item's action as the backend keeps it. AppKit holds an item's target weakly, so the
// action lives in the C++ item, which its menu owns (MenuItems): dropping the handle addItem
// returned does not disable the item. The target reaches the item through a weak reference; while
// the action runs, the item and the action's captures are held, so the action may remove every
// item of its menu, itself included, or replace its own action. Main loop only.
class MenuItemAction final {
 public:
  void set(std::function<void(MenuItem&)> action) {
    slot.set(std::move(action));
  }
  // Whether the platform item should carry a target and selector (and so be enabled under
  // automatic enabling).
  bool isSet() const { return !detached && static_cast<bool>(slot); }

  // The user chose the item the platform's target reaches weakly: runs its action, if the item is
  // still alive and in its menu. `Item` has `MenuItemAction& action()`.
  template <class Item>
  static bool choose(const std::weak_ptr<Item>& target) {
    const std::shared_ptr<Item> item = target.lock();  // held until the action returns
    if (!item) return false;
    return item->action().run(*item);
  }

  // Runs the action with `item` unless the item left its menu; returns whether it ran.
  bool run(MenuItem& item) const { return !detached && slot(item); }

  // The item left its menu: a choice still queued for it does nothing.
  void detach() { detached = true; }

 private:
  CallbackSlot<MenuItem&> slot;
  bool detached = false;
};

}  // namespace turnlet::macos
