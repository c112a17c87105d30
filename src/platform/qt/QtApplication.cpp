#include "qt/QtApplication.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGridLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <algorithm>
#include <stdexcept>

#include "qt/AppVersion.h"
#include "qt/QtStatusItem.h"

namespace turnlet::qt {

QtApplication::QtApplication(QMenuBar& menuBar, std::function<void()> runLoop, std::function<void()> stopLoop)
    : bar(&menuBar), runLoop(std::move(runLoop)), stopLoop(std::move(stopLoop)) {
  // The control window closes without quitting; the delegate has the say.
  QApplication::setQuitOnLastWindowClosed(false);
}

QtApplication::~QtApplication() {
  for (const auto& window : appWindows) window->setOnClose({});
  if (mainMenu && bar) mainMenu->hideItemsFrom(*bar);
  delete statusArea.data();
  delete about.data();
}

void QtApplication::run() {
  if (auto d = delegate.lock()) d->didFinishLaunching();
  QObject::connect(qApp, &QGuiApplication::applicationStateChanged, &activity, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) return;
    if (auto d = delegate.lock()) d->didBecomeActive();
  });
  if (runLoop) runLoop();
}

void QtApplication::terminate() {
  if (terminated) return;
  auto d = delegate.lock();
  request = "Quit";
  const TerminateReply reply = d ? d->shouldTerminate() : TerminateReply::now;
  request.clear();
  switch (reply) {
    case TerminateReply::now: finish(); break;
    case TerminateReply::cancel: break;
    case TerminateReply::later: terminationPending = true; break;
  }
}

void QtApplication::replyToTerminate(bool terminate) {
  if (!std::exchange(terminationPending, false)) return;
  if (terminate) finish();
}

void QtApplication::finish() {
  terminated = true;
  for (const auto& window : appWindows) window->widget().hide();
  if (about) about->close();
  if (stopLoop) stopLoop();
}

void QtApplication::activateIgnoringOtherApps() {
  QWidget* front = nullptr;
  for (const auto& window : appWindows)
    if (window->isVisible()) front = &window->widget();
  if (front) {
    front->raise();
    front->activateWindow();
  }
}

void QtApplication::beep() {
  QApplication::beep();
  if (onBeep) onBeep(request);
}

std::shared_ptr<Menu> QtApplication::makeMenu(const std::string& title) {
  return std::make_shared<QtMenu>(title, keys);
}

void QtApplication::setMainMenu(std::shared_ptr<Menu> menu) {
  if (mainMenu && bar) mainMenu->hideItemsFrom(*bar);
  mainMenu = std::dynamic_pointer_cast<QtMenu>(menu);
  if (mainMenu && bar) mainMenu->showItemsIn(*bar);
}

void QtApplication::showAboutPanel(const std::string& name, const std::string& linkText, const std::string& linkURL) {
  const QString title = QString::fromStdString(name);
  if (!about) {
    about = new QMessageBox(QMessageBox::NoIcon, "About " + title, "", QMessageBox::Ok);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->setWindowModality(Qt::NonModal);  // the loop keeps running while it is open
    about->setTextFormat(Qt::RichText);
    about->setTextInteractionFlags(Qt::TextBrowserInteraction);
    // A message box is as wide as its text, which leaves no room for its own title in a title bar
    // with its buttons: a spacer across the box's grid keeps it wider than the title.
    if (auto* grid = qobject_cast<QGridLayout*>(about->layout())) {
      const int width = about->fontMetrics().horizontalAdvance(about->windowTitle()) + aboutTitleBarAllowance;
      grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                    grid->columnCount());
    }
  }
  about->setText(QString("<p align=\"center\"><b>%1</b></p><p align=\"center\">Version %2</p>"
                         "<p align=\"center\"><a href=\"%3\">%4</a></p>")
                     .arg(title.toHtmlEscaped(), QString(appVersion).toHtmlEscaped(),
                          QString::fromStdString(linkURL).toHtmlEscaped(),
                          QString::fromStdString(linkText).toHtmlEscaped()));
  about->show();
  about->raise();
  about->activateWindow();
}

std::shared_ptr<StatusItem> QtApplication::makeSquareStatusItem() {
  if (!statusArea && bar) {
    auto* area = new QWidget;
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    bar->setCornerWidget(area, Qt::TopRightCorner);
    area->show();
    statusArea = area;
  }
  if (!statusArea) throw std::logic_error("the menu bar of the status items is gone");
  return std::make_shared<QtStatusItem>(*statusArea);
}

std::shared_ptr<AppWindow> QtApplication::makeWindow(const std::string& title, Size contentSize) {
  appWindows.push_back(std::make_shared<QtAppWindow>(title, contentSize, [this] { windowClosed(); }, keys));
  if (placement) placement(appWindows.back()->widget());
  return appWindows.back();
}

bool QtApplication::anyWindowVisible() const {
  return std::any_of(appWindows.begin(), appWindows.end(), [](const auto& w) { return w->isVisible(); });
}

void QtApplication::windowClosed() {
  auto d = delegate.lock();
  if (d && !anyWindowVisible() && d->shouldTerminateAfterLastWindowClosed()) terminate();
}

void QtApplication::reopen() {
  if (auto d = delegate.lock()) d->shouldHandleReopen(anyWindowVisible());
}

}  // namespace turnlet::qt
