#pragma once

#include <memory>
#include <string>

#include "platform/AppWindow.h"
#include "platform/Geometry.h"
#include "platform/Menu.h"
#include "platform/StatusItem.h"

namespace turnlet {

// The answers to a request to terminate: go on now, refuse, or wait for replyToTerminate(). While
// it waits the application keeps running its event loop (on a Mac in the modal-panel mode), and
// the main loop's posts and timers with it, so work that ends in the reply can finish.
enum class TerminateReply { now, cancel, later };

enum class ActivationPolicy { regular, accessory, prohibited };

// What the application asks of its delegate. Main loop only.
class ApplicationDelegate {
 public:
  virtual ~ApplicationDelegate() = default;
  virtual void didFinishLaunching() = 0;
  virtual bool shouldTerminateAfterLastWindowClosed() { return false; }
  // The Dock icon was clicked while the application runs; true: the delegate handled it.
  virtual bool shouldHandleReopen(bool hasVisibleWindows) = 0;
  virtual TerminateReply shouldTerminate() = 0;
  // The application became the active one (launched, clicked, switched to).
  virtual void didBecomeActive() {}
};

// The desktop application: one per process. Main loop only.
class Application {
 public:
  virtual ~Application() = default;
  // Held weakly by the application; its owner keeps it alive while the application runs.
  virtual void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) = 0;
  virtual void setActivationPolicy(ActivationPolicy policy) = 0;
  // Finishes launching, then runs the event loop until the application terminates.
  virtual void run() = 0;
  // Asks the delegate whether to terminate (the Quit command's action), and terminates if so.
  virtual void terminate() = 0;
  // Answers a `later` reply: true goes on terminating, false cancels it.
  virtual void replyToTerminate(bool terminate) = 0;
  virtual void activateIgnoringOtherApps() = 0;
  virtual void beep() = 0;
  virtual std::shared_ptr<Menu> makeMenu(const std::string& title) = 0;
  virtual void setMainMenu(std::shared_ptr<Menu> menu) = 0;
  // The standard About panel with the application's name and a one-line credit that shows
  // `linkText` in the system font and links to `linkURL`.
  virtual void showAboutPanel(const std::string& name, const std::string& linkText, const std::string& linkURL) = 0;
  virtual std::shared_ptr<StatusItem> makeSquareStatusItem() = 0;
  virtual std::shared_ptr<AppWindow> makeWindow(const std::string& title, Size contentSize) = 0;
};

}  // namespace turnlet
