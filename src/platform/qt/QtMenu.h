#pragma once

#include <QKeySequence>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/Menu.h"
#include "qt/QtKeyEquivalents.h"

class QAction;
class QMenu;
class QWidget;

namespace turnlet::qt {

class QtMenu;

// A key equivalent as Qt writes it: the Command key is Ctrl on Linux (and Qt's Ctrl is Command on
// a Mac), the Control key is Meta.
QKeySequence keySequence(const std::optional<KeyEquivalent>& key);

// A menu item as a QAction that the item owns, so that an item the logic keeps outlives its menu's
// rebuild. Its key equivalent works in every window of the application, unless another item has
// the same key (then it only shows it, after a tab in the action's text). Main loop only.
class QtMenuItem : public MenuItem, private QtKeyEquivalents::Holder {
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
  void holdKey(const QKeySequence& key, bool owner) override;
  void updateText();

  std::unique_ptr<QAction> qaction;
  QtMenu* owner;
  bool separator;
  QString title;
  QKeySequence shownKey;  // a key that another holder runs
  std::weak_ptr<QtKeyEquivalents> keys;
  std::function<void(MenuItem&)> fn;
  std::int64_t tagValue = 0;
  bool checked = false;
  bool explicitlyEnabled = true;
  // Whether its action runs; trigger() keeps a weak copy to learn whether the action released the item.
  std::shared_ptr<bool> triggering = std::make_shared<bool>(false);
  std::shared_ptr<QtMenu> sub;
};

// A menu as a QMenu. Its items may also be shown in other widgets (the menu bar shows the main
// menu's items). Their key equivalents go through `keys`, the application's; without it each item
// runs its own. Main loop only.
class QtMenu : public Menu {
 public:
  explicit QtMenu(const std::string& title, std::weak_ptr<QtKeyEquivalents> keys = {});
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
  const std::weak_ptr<QtKeyEquivalents>& keyEquivalents() const { return keys; }

 private:
  void add(std::shared_ptr<QtMenuItem> item);

  std::unique_ptr<QMenu> qmenu;
  std::vector<std::shared_ptr<QtMenuItem>> list;
  std::vector<QPointer<QWidget>> hosts;
  bool autoenables = true;
  std::weak_ptr<QtKeyEquivalents> keys;
  std::function<void()> willOpen;
};

}  // namespace turnlet::qt
