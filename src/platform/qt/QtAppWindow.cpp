#include "qt/QtAppWindow.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "qt/QtControls.h"

namespace turnlet::qt {

namespace {

class Frame : public QWidget {
 public:
  Frame() : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                 Qt::WindowMinimizeButtonHint) {}
  std::function<void()> onClose;

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    hide();  // before the application asks whether any window is still visible
    if (auto handler = onClose) handler();
  }
};

int points(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

QtAppWindow::QtAppWindow(const std::string& title, Size contentSize, std::function<void()> onClose,
                         std::weak_ptr<QtKeyEquivalents> keys)
    : frame(std::make_unique<Frame>()), column(new QVBoxLayout(frame.get())), keys(std::move(keys)) {
  static_cast<Frame&>(*frame).onClose = std::move(onClose);
  frame->setWindowTitle(QString::fromStdString(title));
  frame->setFixedSize(points(contentSize.width), points(contentSize.height));
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addStretch(1);
  if (auto* screen = QGuiApplication::primaryScreen())
    frame->move(screen->availableGeometry().center() - frame->rect().center());
}

QtAppWindow::~QtAppWindow() = default;

std::shared_ptr<Button> QtAppWindow::addButton(Button::Kind kind, const std::string& title, const Placement& at) {
  const QString text = QString::fromStdString(title);
  QAbstractButton* button = kind == Button::Kind::push ? static_cast<QAbstractButton*>(new QPushButton(text))
                                                       : new QCheckBox(text);
  place(button, at);
  return std::make_shared<QtButton>(button, keys);
}

std::shared_ptr<Label> QtAppWindow::addLabel(const Placement& at) {
  auto* label = new QLabel;
  place(label, at);
  return std::make_shared<QtLabel>(label);
}

std::shared_ptr<CustomView> QtAppWindow::addCustomView(const Placement& at) {
  auto view = std::make_shared<QtCustomView>();
  place(view->widget(), at);
  return view;
}

void QtAppWindow::show() {
  frame->show();
  frame->raise();
  frame->activateWindow();
}

bool QtAppWindow::isVisible() const { return frame->isVisible(); }

void QtAppWindow::setOnClose(std::function<void()> handler) { static_cast<Frame&>(*frame).onClose = std::move(handler); }

void QtAppWindow::place(QWidget* control, const Placement& at) {
  auto* row = new QHBoxLayout;
  const int inset = at.sideInset ? points(*at.sideInset) : 0;
  row->setContentsMargins(inset, 0, inset, 0);
  if (at.size) control->setFixedSize(points(at.size->width), points(at.size->height));
  if (!at.sideInset) row->addStretch(1);
  row->addWidget(control);
  if (!at.sideInset) row->addStretch(1);
  const int end = column->count() - 1;  // the stretch that keeps the column at the top
  column->insertSpacing(end, points(at.top));
  column->insertLayout(end + 1, row);
}

}  // namespace turnlet::qt
