#include "qt/QtStatusItem.h"

#include <QBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace turnlet::qt {

namespace {

// The symbol "rotate.right" (or "rotate.left", mirrored) as a circular arrow that turns clockwise:
// an arc from the top round the left and the bottom to the upper right, its head at the top
// pointing into the gap. Drawn in `color` at a side of `side` pixels.
QPixmap rotateArrow(int side, const QColor& color, bool mirrored) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  if (mirrored) painter.setTransform(QTransform(-1, 0, 0, 1, side, 0));
  const double pen = side / 9.0, radius = side * 0.34, cx = side / 2.0, cy = side * 0.54;
  painter.setPen(QPen(color, pen, Qt::SolidLine, Qt::RoundCap));
  painter.drawArc(QRectF(cx - radius, cy - radius, 2 * radius, 2 * radius), 90 * 16, 290 * 16);
  const double head = side * 0.2, top = cy - radius;
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  painter.drawPolygon(QPolygonF{QPointF(cx + head * 1.1, top), QPointF(cx - head * 0.2, top - head),
                                QPointF(cx - head * 0.2, top + head)});
  return pixmap;
}

// The system symbols the program shows, drawn; any other name is looked up in the icon theme.
QIcon symbolIcon(const std::string& symbol, const QColor& color) {
  if (symbol != "rotate.right" && symbol != "rotate.left") return QIcon::fromTheme(QString::fromStdString(symbol));
  QIcon icon;
  for (int side : {16, 24, 32, 48}) icon.addPixmap(rotateArrow(side, color, symbol == "rotate.left"));
  return icon;
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
  const QIcon icon = symbolIcon(symbolName, widget->palette().color(QPalette::ButtonText));
  widget->setIcon(icon);
  // A symbol without a picture shows the description instead; it is the accessible name either way.
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
