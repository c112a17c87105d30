#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Menu.h"

namespace turnlet::sim {

class RecordingMenu;

// A menu item as the recording toolkit keeps it: everything set on it, readable by tests.
class RecordingMenuItem : public MenuItem {
 public:
  explicit RecordingMenuItem(std::string title, const RecordingMenu* owner) : title(std::move(title)), owner(owner) {}
  void setTitle(const std::string& text) override { title = text; }
  void setKeyEquivalent(std::optional<KeyEquivalent> key) override { keyEquivalent = std::move(key); }
  void setAction(std::function<void(MenuItem&)> fn) override { action = std::move(fn); }
  void setTag(std::int64_t value) override { tagValue = value; }
  std::int64_t tag() const override { return tagValue; }
  void setChecked(bool value) override { checked = value; }
  void setEnabled(bool value) override { explicitlyEnabled = value; }
  void setToolTip(const std::string& text) override { toolTip = text; }
  void setSubmenu(std::shared_ptr<Menu> menu) override;

  // What the user sees: with automatic enabling an item is enabled exactly when it has an action.
  bool enabled() const;
  // Chooses the item as the user would; a disabled item or one without an action does nothing.
  void click();

  std::string title;
  std::optional<KeyEquivalent> keyEquivalent;
  std::function<void(MenuItem&)> action;
  std::int64_t tagValue = 0;
  bool checked = false;
  bool explicitlyEnabled = true;
  std::string toolTip;
  std::shared_ptr<RecordingMenu> submenu;
  bool separator = false;

 private:
  const RecordingMenu* owner;
};

// A menu as the recording toolkit keeps it.
class RecordingMenu : public Menu {
 public:
  explicit RecordingMenu(std::string title) : title(std::move(title)) {}
  std::shared_ptr<MenuItem> addItem(const std::string& itemTitle) override;
  void addSeparator() override;
  void removeAllItems() override { items.clear(); }
  void setAutoenablesItems(bool automatic) override { autoenables = automatic; }
  void setOnWillOpen(std::function<void()> handler) override { willOpen = std::move(handler); }

  // Opens the menu as the user would: the will-open callback runs first.
  void open() {
    if (auto handler = willOpen) handler();
  }
  // The first item with this title; throws std::out_of_range when there is none.
  RecordingMenuItem& item(const std::string& itemTitle) const;
  // One line per item, submenus indented by two spaces: the title, then " ⌘" and the key
  // (modifiers other than Command spelled before it), " ✓" when checked, " (off)" when
  // disabled; a separator is "---".
  std::string tree(int depth = 0) const;

  std::string title;
  bool autoenables = true;
  std::vector<std::shared_ptr<RecordingMenuItem>> items;

 private:
  std::function<void()> willOpen;
};

}  // namespace turnlet::sim
