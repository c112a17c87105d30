#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace turnlet {

class Menu;

// A key equivalent: a key and its modifier flags (the Command key alone by default).
struct KeyEquivalent {
  static constexpr unsigned command = 1, shift = 2, option = 4, control = 8;
  std::string key;
  unsigned modifiers = command;
  friend bool operator==(const KeyEquivalent&, const KeyEquivalent&) = default;
};

// One item of a menu. An item without an action cannot be chosen. The menu owns its items and
// their actions: the handle addItem returns may be dropped and the item still works, its action
// alive as long as the item (on a Mac the item's target is weak, so a backend keeps the action's
// object alive with the item). Main loop only.
class MenuItem {
 public:
  virtual ~MenuItem() = default;
  virtual void setTitle(const std::string& title) = 0;
  virtual void setKeyEquivalent(std::optional<KeyEquivalent> key) = 0;
  // Called with the item, on the main loop, when the user chooses it. It may remove every item of
  // its menu, itself included (the platform keeps the item alive until the action returns).
  virtual void setAction(std::function<void(MenuItem&)> action) = 0;
  virtual void setTag(std::int64_t tag) = 0;
  virtual std::int64_t tag() const = 0;
  virtual void setChecked(bool checked) = 0;
  // Honoured only in a menu that does not enable its items automatically.
  virtual void setEnabled(bool enabled) = 0;
  virtual void setToolTip(const std::string& text) = 0;
  virtual void setSubmenu(std::shared_ptr<Menu> submenu) = 0;
};

// A menu: items in order, separators between them. With automatic enabling (the platform's
// default) an item is enabled exactly when it has an action, whatever setEnabled said. Main
// loop only.
class Menu {
 public:
  virtual ~Menu() = default;
  virtual std::shared_ptr<MenuItem> addItem(const std::string& title) = 0;
  virtual void addSeparator() = 0;
  virtual void removeAllItems() = 0;
  virtual void setAutoenablesItems(bool automatic) = 0;
  // Called on the main loop each time just before the menu opens, at the point where the
  // platform lets the handler add, remove and change items: on a Mac the menu delegate's
  // menuNeedsUpdate:, not menuWillOpen:, during which the menu's structure must not change.
  virtual void setOnWillOpen(std::function<void()> handler) = 0;
};

}  // namespace turnlet
