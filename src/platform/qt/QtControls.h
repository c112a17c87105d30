#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include "platform/AppWindow.h"
#include "qt/QtKeyEquivalents.h"

namespace turnlet::qt {

// The system font at a size in points, which are pixels here as the window's sizes are.
QFont qtFont(const Font& font, QFont base);

// A push button (QPushButton) or a check box (QCheckBox) of a window, which owns the widget: the
// control does nothing once the window is gone. Its key equivalent goes through `keys`, the
// application's, where a menu item with the same key may run it instead. Main loop only.
class QtButton : public Button, private QtKeyEquivalents::Holder {
 public:
  explicit QtButton(QAbstractButton* button, std::weak_ptr<QtKeyEquivalents> keys = {});
  ~QtButton() override;
  void setAction(std::function<void()> action) override { fn = std::move(action); }
  void setToolTip(const std::string& text) override;
  void setKeyEquivalent(std::optional<KeyEquivalent> key) override;
  void setFont(const Font& font) override;
  void setChecked(bool checked) override;
  bool checked() const override;
  void setEnabled(bool enabled) override;

 private:
  void holdKey(const QKeySequence& key, bool owner) override;

  QPointer<QAbstractButton> button;
  QMetaObject::Connection clicked;
  std::function<void()> fn;
  std::weak_ptr<QtKeyEquivalents> keys;
};

// A centred QLabel of plain text.
class QtLabel : public Label {
 public:
  explicit QtLabel(QLabel* label);
  void setText(const std::string& text) override;
  void setStyle(const Font& font, SemanticColor color, bool wraps) override;

 private:
  QPointer<QLabel> label;
};

// A widget that draws with the logic's drawing function, an image to accessibility.
class QtCustomView : public CustomView {
 public:
  QtCustomView();
  ~QtCustomView() override;
  void setDraw(std::function<void(GraphicsContext&, Size bounds)> draw) override;
  void setNeedsDisplay() override;
  void setAccessibilityLabel(const std::string& label) override;
  // Until a window takes it, the view owns the widget.
  QWidget* widget() const { return canvas; }

 private:
  QPointer<QWidget> canvas;
};

}  // namespace turnlet::qt
