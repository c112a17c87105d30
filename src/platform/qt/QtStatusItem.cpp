#include "qt/QtStatusItem.h"

#include <QBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <map>

namespace turnlet::qt {

namespace {

// The freedesktop icon names of the system symbols the program shows.
QString themeIconName(const std::string& symbol) {
  static const std::map<std::string, QString> names{{"rotate.right", "object-rotate-right"},
                                                    {"rotate.left", "object-rotate-left"}};
  auto it = names.find(symbol);
  return it != names.end() ? it->second : QString::fromStdString(symbol);
}

}  // namespace

QtStatusItem::QtStatusItem(QWidget& area) : widget(new QToolButton(&area)) {
  widget->setAutoRaise(true);
  widget->setPopupMode(QToolButton::InstantPopup);
  widget->setStyleSheet("QToolButton::menu-indicator { image: none; }");
  if (auto* row = qobject_cast<QBoxLayout*>(area.layout())) row->insertWidget(0, widget);
  widget->show();
}

QtStatusItem::~QtStatusItem() { delete widget.data(); }

void QtStatusItem::setSymbolImage(const std::string& symbolName, const std::string& accessibilityDescription) {
  if (!widget) return;
  const QString description = QString::fromStdString(accessibilityDescription);
  const QIcon icon = QIcon::fromTheme(themeIconName(symbolName));
  widget->setIcon(icon);
  // Without an icon theme (Qt's offscreen platform, a bare desktop) the description is the title.
  widget->setText(description);
  widget->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
  widget->setAccessibleName(description);
  // A menu bar lays out its corner once; a button that changed size needs a new layout there.
  if (QWidget* area = widget->parentWidget()) {
    area->adjustSize();
    if (auto* bar = qobject_cast<QMenuBar*>(area->parentWidget())) bar->setCornerWidget(area, Qt::TopRightCorner);
  }
}

void QtStatusItem::setToolTip(const std::string& text) {
  if (widget) widget->setToolTip(QString::fromStdString(text));
}

void QtStatusItem::setMenu(std::shared_ptr<Menu> value) {
  menu = std::dynamic_pointer_cast<QtMenu>(value);
  if (widget) widget->setMenu(menu ? &menu->menu() : nullptr);
}

}  // namespace turnlet::qt
