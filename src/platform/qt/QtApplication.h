#pragma once

#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Application.h"
#include "qt/QtAppWindow.h"
#include "qt/QtMenu.h"

namespace turnlet::qt {

// The desktop application on Qt Widgets. The main menu's items become the menus of a menu bar
// that the caller owns (a window's), status items become buttons at its right end, windows are
// top-level widgets, centred on the primary screen unless a placement is set. Key equivalents
// work in every window, each run by one holder (QtKeyEquivalents). run() finishes launching and
// then calls `runLoop`; terminating calls `stopLoop` (both may be empty, as under a virtual
// loop). Closing the last window does not quit
// Qt: the delegate decides, as it does for every terminate request, and a `later` answer waits for
// replyToTerminate(). Linux has no Dock: reopen() stands for a click on the application's icon.
// Main loop only; the one QApplication exists first.
class QtApplication : public Application {
 public:
  // Pixels beside its title that the About panel keeps for a title bar's icon and buttons.
  static constexpr int aboutTitleBarAllowance = 160;

  explicit QtApplication(QMenuBar& menuBar, std::function<void()> runLoop = {}, std::function<void()> stopLoop = {});
  ~QtApplication() override;
  QtApplication(const QtApplication&) = delete;
  QtApplication& operator=(const QtApplication&) = delete;

  void setDelegate(std::weak_ptr<ApplicationDelegate> value) override { delegate = std::move(value); }
  // Kept for the shell to read: Linux desktops have no Dock icon to show or hide.
  void setActivationPolicy(ActivationPolicy value) override { policy = value; }
  void run() override;
  void terminate() override;
  void replyToTerminate(bool terminate) override;
  void activateIgnoringOtherApps() override;
  void beep() override;
  std::shared_ptr<Menu> makeMenu(const std::string& title) override;
  void setMainMenu(std::shared_ptr<Menu> menu) override;
  void showAboutPanel(const std::string& name, const std::string& linkText, const std::string& linkURL) override;
  std::shared_ptr<StatusItem> makeSquareStatusItem() override;
  std::shared_ptr<AppWindow> makeWindow(const std::string& title, Size contentSize) override;

  // Where each window made from now on opens: `place` moves it before it is first shown.
  void setWindowPlacement(std::function<void(QWidget& window)> place) { placement = std::move(place); }
  void reopen();
  std::optional<ActivationPolicy> activationPolicy() const { return policy; }
  bool isTerminated() const { return terminated; }
  const std::vector<std::shared_ptr<QtAppWindow>>& windows() const { return appWindows; }
  // Observation: runs after each beep with the request it refused ("Quit"), empty when it came
  // from no request made through this application.
  std::function<void(const std::string& refused)> onBeep;
  // The About panel while it is open.
  QMessageBox* aboutPanel() const { return about; }

 private:
  bool anyWindowVisible() const;
  void windowClosed();
  void finish();

  QPointer<QMenuBar> bar;
  std::function<void()> runLoop, stopLoop;
  std::weak_ptr<ApplicationDelegate> delegate;
  std::optional<ActivationPolicy> policy;
  bool terminationPending = false;
  bool terminated = false;
  std::string request;  // the request the delegate is being asked about
  std::shared_ptr<QtKeyEquivalents> keys = std::make_shared<QtKeyEquivalents>();
  std::function<void(QWidget&)> placement;
  std::shared_ptr<QtMenu> mainMenu;
  QPointer<QWidget> statusArea;
  std::vector<std::shared_ptr<QtAppWindow>> appWindows;
  QPointer<QMessageBox> about;
  QObject activity;  // receives the application's activation while this exists
};

}  // namespace turnlet::qt
