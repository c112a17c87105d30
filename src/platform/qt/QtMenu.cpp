#include "qt/QtMenu.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

namespace turnlet::qt {

QKeySequence keySequence(const std::optional<KeyEquivalent>& key) {
  if (!key || key->key.empty()) return {};
  QString text;
  if (key->modifiers & KeyEquivalent::command) text += "Ctrl+";
  if (key->modifiers & KeyEquivalent::shift) text += "Shift+";
  if (key->modifiers & KeyEquivalent::option) text += "Alt+";
  if (key->modifiers & KeyEquivalent::control) text += "Meta+";
  return QKeySequence(text + QString::fromStdString(key->key).toUpper(), QKeySequence::PortableText);
}

QtMenuItem::QtMenuItem(const std::string& title, QtMenu* owner, bool separator)
    : qaction(std::make_unique<QAction>(QString::fromStdString(title))),
      owner(owner),
      separator(separator),
      title(QString::fromStdString(title)),
      keys(owner ? owner->keyEquivalents() : std::weak_ptr<QtKeyEquivalents>()) {
  qaction->setSeparator(separator);
  QObject::connect(qaction.get(), &QAction::triggered, qaction.get(), [this] { trigger(); });
}

QtMenuItem::~QtMenuItem() {
  if (auto registry = keys.lock()) registry->release(*this);
  // Released by its own action (a rebuilt menu): Qt is still inside the action's signal.
  if (*triggering) qaction.release()->deleteLater();
}

void QtMenuItem::setTitle(const std::string& text) {
  title = QString::fromStdString(text);
  updateText();
}

void QtMenuItem::setKeyEquivalent(std::optional<KeyEquivalent> key) {
  if (auto registry = keys.lock()) {
    registry->claim(*this, QtKeyEquivalents::Holder::Kind::menuItem, keySequence(key));
  } else {
    holdKey(keySequence(key), true);
  }
}

void QtMenuItem::holdKey(const QKeySequence& key, bool runs) {
  qaction->setShortcut(runs ? key : QKeySequence());
  qaction->setShortcutContext(Qt::ApplicationShortcut);
  shownKey = runs ? QKeySequence() : key;
  updateText();
}

void QtMenuItem::updateText() {
  // A menu shows what follows a tab in an item's text where it shows a shortcut.
  qaction->setText(shownKey.isEmpty() ? title : title + '\t' + shownKey.toString(QKeySequence::NativeText));
}

void QtMenuItem::setAction(std::function<void(MenuItem&)> action) {
  fn = std::move(action);
  updateEnabled();
}

void QtMenuItem::setChecked(bool value) {
  checked = value;
  qaction->setCheckable(value);  // no empty box beside an item that is not ticked
  qaction->setChecked(value);
}

void QtMenuItem::setEnabled(bool value) {
  explicitlyEnabled = value;
  updateEnabled();
}

void QtMenuItem::setToolTip(const std::string& text) { qaction->setToolTip(QString::fromStdString(text)); }

void QtMenuItem::setSubmenu(std::shared_ptr<Menu> menu) {
  sub = std::dynamic_pointer_cast<QtMenu>(menu);
  qaction->setMenu(sub ? &sub->menu() : static_cast<QMenu*>(nullptr));
  updateEnabled();
}

bool QtMenuItem::enabled() const {
  if (separator) return false;
  if (owner && owner->autoenablesItems()) return fn || sub;
  return explicitlyEnabled;
}

void QtMenuItem::updateEnabled() { qaction->setEnabled(enabled()); }

void QtMenuItem::trigger() {
  qaction->setChecked(checked);  // Qt flipped the tick; only the logic sets it
  if (!enabled() || !fn) return;
  const std::weak_ptr<bool> alive = triggering;
  *triggering = true;
  auto action = fn;
  action(*this);  // may rebuild the menu and release this item
  if (auto flag = alive.lock()) *flag = false;
}

QtMenu::QtMenu(const std::string& title, std::weak_ptr<QtKeyEquivalents> keys)
    : qmenu(std::make_unique<QMenu>(QString::fromStdString(title))), keys(std::move(keys)) {
  qmenu->setToolTipsVisible(true);
  QObject::connect(qmenu.get(), &QMenu::aboutToShow, qmenu.get(), [this] {
    if (auto handler = willOpen) handler();
  });
}

QtMenu::~QtMenu() { removeAllItems(); }

std::shared_ptr<MenuItem> QtMenu::addItem(const std::string& title) {
  auto item = std::make_shared<QtMenuItem>(title, this, false);
  add(item);
  return item;
}

void QtMenu::addSeparator() { add(std::make_shared<QtMenuItem>("", this, true)); }

void QtMenu::add(std::shared_ptr<QtMenuItem> item) {
  item->updateEnabled();
  qmenu->addAction(&item->action());
  for (const auto& host : hosts)
    if (host) host->addAction(&item->action());
  list.push_back(std::move(item));
}

void QtMenu::removeAllItems() {
  for (const auto& item : list) {
    item->detach();
    qmenu->removeAction(&item->action());
    for (const auto& host : hosts)
      if (host) host->removeAction(&item->action());
  }
  auto released = std::move(list);  // items may release menus whose destructors come back here
  list.clear();
}

void QtMenu::setAutoenablesItems(bool automatic) {
  autoenables = automatic;
  for (const auto& item : list) item->updateEnabled();
}

void QtMenu::showItemsIn(QWidget& widget) {
  hosts.emplace_back(&widget);
  for (const auto& item : list) widget.addAction(&item->action());
}

void QtMenu::hideItemsFrom(QWidget& widget) {
  for (const auto& item : list) widget.removeAction(&item->action());
  std::erase_if(hosts, [&](const QPointer<QWidget>& host) { return !host || host == &widget; });
}

}  // namespace turnlet::qt
