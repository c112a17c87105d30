#pragma once

#include <QKeySequence>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/Menu.h"

class QAction;
class QMenu;
class QWidget;

namespace turnlet::qt {

class QtMenu;

// A key equivalent as Qt writes it: the Command key is Ctrl on Linux (and Qt's Ctrl is Command on
// a Mac), the Control key is Meta.
QKeySequence keySequence(const std::optional<KeyEquivalent>& key);

// A menu item as a QAction that the item owns, so that an item the logic keeps outlives its menu's
// rebuild. Main loop only.
class QtMenuItem : public MenuItem {
 public:
  QtMenuItem(const std::string& title, QtMenu* owner, bool separator);
  ~QtMenuItem() override;
  void setTitle(const std::string& title) override;
  void setKeyEquivalent(std::optional<KeyEquivalent> key) override;
  void setAction(std::function<void(MenuItem&)> action) override;
  void setTag(std::int64_t tag) override { tagValue = tag; }
  std::int64_t tag() const override { return tagValue; }
  void setChecked(bool checked) override;
  void setEnabled(bool enabled) override;
  void setToolTip(const std::string& text) override;
  void setSubmenu(std::shared_ptr<Menu> submenu) override;

  QAction& action() const { return *qaction; }
  const std::shared_ptr<QtMenu>& submenu() const { return sub; }
  // With automatic enabling an item is enabled exactly when it has an action or a submenu.
  bool enabled() const;
  void updateEnabled();
  void detach() { owner = nullptr; }

 private:
  void trigger();

  std::unique_ptr<QAction> qaction;
  QtMenu* owner;
  bool separator;
  std::function<void(MenuItem&)> fn;
  std::int64_t tagValue = 0;
  bool checked = false;
  bool explicitlyEnabled = true;
  // Whether its action runs; trigger() keeps a weak copy to learn whether the action released the item.
  std::shared_ptr<bool> triggering = std::make_shared<bool>(false);
  std::shared_ptr<QtMenu> sub;
};

// A menu as a QMenu. Its items may also be shown in other widgets (the menu bar shows the main
// menu's items). Main loop only.
class QtMenu : public Menu {
 public:
  explicit QtMenu(const std::string& title);
  ~QtMenu() override;
  std::shared_ptr<MenuItem> addItem(const std::string& title) override;
  void addSeparator() override;
  void removeAllItems() override;
  void setAutoenablesItems(bool automatic) override;
  void setOnWillOpen(std::function<void()> handler) override { willOpen = std::move(handler); }

  QMenu& menu() const { return *qmenu; }
  bool autoenablesItems() const { return autoenables; }
  const std::vector<std::shared_ptr<QtMenuItem>>& items() const { return list; }
  void showItemsIn(QWidget& widget);
  void hideItemsFrom(QWidget& widget);
  // Where the items' key equivalents work, for this menu and its submenus: by default only while
  // the menu is open; the main menu's in the whole application.
  void setShortcutContext(Qt::ShortcutContext context);
  Qt::ShortcutContext shortcutContext() const { return context; }

 private:
  void add(std::shared_ptr<QtMenuItem> item);

  std::unique_ptr<QMenu> qmenu;
  std::vector<std::shared_ptr<QtMenuItem>> list;
  std::vector<QPointer<QWidget>> hosts;
  bool autoenables = true;
  Qt::ShortcutContext context = Qt::WindowShortcut;
  std::function<void()> willOpen;
};

}  // namespace turnlet::qt
