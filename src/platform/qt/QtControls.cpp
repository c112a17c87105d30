#include "qt/QtControls.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPainter>

#include "qt/QtGraphicsContext.h"
#include "qt/QtMenu.h"

namespace turnlet::qt {

namespace {

class Canvas : public QWidget {
 public:
  std::function<void(GraphicsContext&, Size)> draw;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!draw) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(0, height());  // the logic draws with y growing upward
    painter.scale(1, -1);
    QtGraphicsContext context(painter, palette());
    auto fn = draw;
    fn(context, Size{static_cast<double>(width()), static_cast<double>(height())});
  }
};

QAccessibleInterface* canvasAccessibility(const QString&, QObject* object) {
  auto* canvas = dynamic_cast<Canvas*>(object);
  return canvas ? new QAccessibleWidget(canvas, QAccessible::Graphic) : nullptr;
}

}  // namespace

QFont qtFont(const Font& font, QFont base) {
  base.setPixelSize(static_cast<int>(font.size + 0.5));
  base.setWeight(font.weight == FontWeight::medium ? QFont::Medium : QFont::Normal);
  // Qt 6.4 has no switch for equal-width digits; the usual sans fonts on Linux (DejaVu, Noto,
  // Cantarell) draw their digits at one width already.
  return base;
}

QtButton::QtButton(QAbstractButton* widget, std::weak_ptr<QtKeyEquivalents> keys)
    : button(widget), keys(std::move(keys)) {
  clicked = QObject::connect(widget, &QAbstractButton::clicked, [this] {
    if (auto action = fn) action();
  });
}

QtButton::~QtButton() {
  if (auto registry = keys.lock()) registry->release(*this);
  QObject::disconnect(clicked);
}

void QtButton::setToolTip(const std::string& text) {
  if (button) button->setToolTip(QString::fromStdString(text));
}

void QtButton::setKeyEquivalent(std::optional<KeyEquivalent> key) {
  if (auto registry = keys.lock()) {
    registry->claim(*this, QtKeyEquivalents::Holder::Kind::button, keySequence(key));
  } else {
    holdKey(keySequence(key), true);
  }
}

void QtButton::holdKey(const QKeySequence& key, bool runs) {
  if (button) button->setShortcut(runs ? key : QKeySequence());
}

void QtButton::setFont(const Font& font) {
  if (button) button->setFont(qtFont(font, button->font()));
}

void QtButton::setChecked(bool checked) {
  if (button) button->setChecked(checked);
}

bool QtButton::checked() const { return button && button->isChecked(); }

void QtButton::setEnabled(bool enabled) {
  if (button) button->setEnabled(enabled);
}

QtLabel::QtLabel(QLabel* widget) : label(widget) {
  label->setAlignment(Qt::AlignCenter);
  label->setTextFormat(Qt::PlainText);
}

void QtLabel::setText(const std::string& text) {
  if (label) label->setText(QString::fromStdString(text));
}

void QtLabel::setStyle(const Font& font, SemanticColor color, bool wraps) {
  if (!label) return;
  label->setFont(qtFont(font, label->font()));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, semanticColor(color, palette));
  label->setPalette(palette);
  label->setWordWrap(wraps);
}

QtCustomView::QtCustomView() : canvas(new Canvas) {
  static const bool accessible = (QAccessible::installFactory(canvasAccessibility), true);
  (void)accessible;
}

QtCustomView::~QtCustomView() {
  if (canvas && !canvas->parent()) delete canvas.data();
}

void QtCustomView::setDraw(std::function<void(GraphicsContext&, Size)> draw) {
  if (!canvas) return;
  static_cast<Canvas*>(canvas.data())->draw = std::move(draw);
  canvas->update();
}

void QtCustomView::setNeedsDisplay() {
  if (canvas) canvas->update();
}

void QtCustomView::setAccessibilityLabel(const std::string& label) {
  if (canvas) canvas->setAccessibleName(QString::fromStdString(label));
}

}  // namespace turnlet::qt
