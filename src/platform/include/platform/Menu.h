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

// One item of a menu. An item without an action cannot be chosen. Main loop only.
class MenuItem {
 public:
  virtual ~MenuItem() = default;
  virtual void setTitle(const std::string& title) = 0;
  virtual void setKeyEquivalent(std::optional<KeyEquivalent> key) = 0;
  // Called with the item when the user chooses it.
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
  // Called each time, just before the menu opens.
  virtual void setOnWillOpen(std::function<void()> handler) = 0;
};

}  // namespace turnlet
