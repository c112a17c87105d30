#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/AppWindow.h"
#include "qt/QtKeyEquivalents.h"

class QVBoxLayout;
class QWidget;

namespace turnlet::qt {

// A top-level QWidget window of fixed content size, with title, close and minimise buttons,
// centred on the primary screen when made. Closing it hides it and tells `onClose`; show() brings
// it back. Its controls stack in one column: each `top` points below the previous one, centred at
// its natural or given size, or stretched to `sideInset` from both edges. Its buttons' key
// equivalents go through `keys`, the application's. Main loop only.
class QtAppWindow : public AppWindow {
 public:
  QtAppWindow(const std::string& title, Size contentSize, std::function<void()> onClose,
              std::weak_ptr<QtKeyEquivalents> keys = {});
  ~QtAppWindow() override;
  std::shared_ptr<Button> addButton(Button::Kind kind, const std::string& title, const Placement& at) override;
  std::shared_ptr<Label> addLabel(const Placement& at) override;
  std::shared_ptr<CustomView> addCustomView(const Placement& at) override;
  void show() override;

  QWidget& widget() const { return *frame; }
  bool isVisible() const;
  void setOnClose(std::function<void()> handler);

 private:
  void place(QWidget* control, const Placement& at);

  std::unique_ptr<QWidget> frame;
  QVBoxLayout* column;
  std::weak_ptr<QtKeyEquivalents> keys;
};

}  // namespace turnlet::qt
