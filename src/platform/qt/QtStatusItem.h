#pragma once

#include <QPointer>
#include <QToolButton>
#include <memory>

#include "platform/StatusItem.h"
#include "qt/QtMenu.h"

namespace turnlet::qt {

// A status item as a button at the right end of the menu bar that opens its menu, left of the
// items made before it; the rotate symbols are drawn, other symbols come from the icon theme.
// Removed from the bar when released. Main loop only.
class QtStatusItem : public StatusItem {
 public:
  // `area` is the menu bar's corner widget, with a horizontal layout.
  explicit QtStatusItem(QWidget& area);
  ~QtStatusItem() override;
  void setSymbolImage(const std::string& symbolName, const std::string& accessibilityDescription) override;
  void setToolTip(const std::string& text) override;
  void setMenu(std::shared_ptr<Menu> menu) override;

  QToolButton* button() const { return widget; }

 private:
  QPointer<QToolButton> widget;
  std::shared_ptr<QtMenu> menu;
};

}  // namespace turnlet::qt
