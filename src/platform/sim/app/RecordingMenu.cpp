#include "sim/app/RecordingMenu.h"

#include <stdexcept>

namespace turnlet::sim {

void RecordingMenuItem::setSubmenu(std::shared_ptr<Menu> menu) {
  submenu = std::dynamic_pointer_cast<RecordingMenu>(menu);
}

bool RecordingMenuItem::enabled() const {
  if (separator) return false;
  if (owner && owner->autoenables) return static_cast<bool>(action) || static_cast<bool>(submenu);
  return explicitlyEnabled;
}

void RecordingMenuItem::click() {
  if (!enabled() || !action) return;
  auto fn = action;  // the action may rebuild the menu and release this item
  fn(*this);
}

std::shared_ptr<MenuItem> RecordingMenu::addItem(const std::string& itemTitle) {
  items.push_back(std::make_shared<RecordingMenuItem>(itemTitle, this));
  return items.back();
}

void RecordingMenu::addSeparator() {
  items.push_back(std::make_shared<RecordingMenuItem>("", this));
  items.back()->separator = true;
}

RecordingMenuItem& RecordingMenu::item(const std::string& itemTitle) const {
  for (const auto& i : items)
    if (!i->separator && i->title == itemTitle) return *i;
  throw std::out_of_range("no menu item \"" + itemTitle + "\" in \"" + title + "\"");
}

std::string RecordingMenu::tree(int depth) const {
  std::string out;
  for (const auto& i : items) {
    out += std::string(2 * depth, ' ');
    if (i->separator) {
      out += "---\n";
      continue;
    }
    out += i->title;
    if (const auto& k = i->keyEquivalent) {
      out += " ";
      if (k->modifiers & KeyEquivalent::control) out += "⌃";
      if (k->modifiers & KeyEquivalent::option) out += "⌥";
      if (k->modifiers & KeyEquivalent::shift) out += "⇧";
      if (k->modifiers & KeyEquivalent::command) out += "⌘";
      out += k->key;
    }
    if (i->checked) out += " ✓";
    if (!i->enabled()) out += " (off)";
    out += "\n";
    if (i->submenu) out += i->submenu->tree(depth + 1);
  }
  return out;
}

}  // namespace turnlet::sim
