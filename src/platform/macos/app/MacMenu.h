#pragma once

#import <AppKit/AppKit.h>

#include <functional>
#include <memory>
#include <string>

#include "macos/bridge/CallbackSlot.h"
#include "macos/app/MenuItemAction.h"
#include "macos/app/MenuItems.h"
#include "platform/Menu.h"

@class TurnletActionTarget;
@class TurnletMenuDelegate;

namespace turnlet::macos {

// One NSMenuItem. Its action lives here (MenuItemAction), reached from a TurnletActionTarget that
// this item keeps and the platform holds weakly; the item is owned by its menu. Main loop only.
class MacMenuItem final : public MenuItem, public std::enable_shared_from_this<MacMenuItem> {
 public:
  explicit MacMenuItem(const std::string& title);
  ~MacMenuItem() override;
  MacMenuItem(const MacMenuItem&) = delete;
  MacMenuItem& operator=(const MacMenuItem&) = delete;

  void setTitle(const std::string& title) override;
  void setKeyEquivalent(std::optional<KeyEquivalent> key) override;
  void setAction(std::function<void(MenuItem&)> action) override;
  void setTag(std::int64_t tag) override;
  std::int64_t tag() const override;
  void setChecked(bool checked) override;
  void setEnabled(bool enabled) override;
  void setToolTip(const std::string& text) override;
  void setSubmenu(std::shared_ptr<Menu> submenu) override;

  MenuItemAction& action() { return chosen; }
  NSMenuItem* _Nonnull platformItem() const { return item; }
  // Left its menu: a choice still queued does nothing, and the platform item loses its target.
  void detach();

 private:
  NSMenuItem* _Nonnull item;
  TurnletActionTarget* _Nullable target = nil;
  MenuItemAction chosen;
  std::shared_ptr<Menu> submenu;  // kept with the item, as the platform keeps its submenu
};

// An NSMenu that owns its items (MenuItems) and runs the will-open handler from its delegate's
// menuNeedsUpdate:, where AppKit lets the items change. Main loop only.
class MacMenu final : public Menu {
 public:
  explicit MacMenu(const std::string& title);
  ~MacMenu() override;
  MacMenu(const MacMenu&) = delete;
  MacMenu& operator=(const MacMenu&) = delete;

  std::shared_ptr<MenuItem> addItem(const std::string& title) override;
  void addSeparator() override;
  void removeAllItems() override;
  void setAutoenablesItems(bool automatic) override;
  void setOnWillOpen(std::function<void()> handler) override;

  NSMenu* _Nonnull platformMenu() const { return menu; }

 private:
  std::shared_ptr<CallbackSlot<>> willOpen = std::make_shared<CallbackSlot<>>();  // the delegate holds it
  NSMenu* _Nonnull menu;
  TurnletMenuDelegate* _Nonnull delegate;
  MenuItems<MacMenuItem> items;
};

}  // namespace turnlet::macos
