#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "sim/app/RecordingMenu.h"
#include "sim/windows/RecordingWindow.h"

namespace turnlet::sim {

// The status item as the recording toolkit keeps it.
class RecordingStatusItem : public StatusItem {
 public:
  void setSymbolImage(const std::string& name, const std::string& description) override {
    symbolName = name, accessibilityDescription = description;
  }
  void setToolTip(const std::string& text) override { toolTip = text; }
  void setMenu(std::shared_ptr<Menu> value) override { menu = std::dynamic_pointer_cast<RecordingMenu>(value); }

  std::string symbolName;
  std::string accessibilityDescription;
  std::string toolTip;
  std::shared_ptr<RecordingMenu> menu;
};

// A desktop application toolkit that presents nothing and records everything, so that tests can
// read and operate what a user would see. run() finishes launching and then calls `runLoop`
// (nothing under a virtual loop: the test drives the loop); terminating calls `stopLoop`. The
// termination protocol is the platform's: a `later` answer waits for replyToTerminate(). Main
// loop only.
class RecordingApplication : public Application {
 public:
  struct AboutPanel {
    std::string name, linkText, linkURL;
  };

  explicit RecordingApplication(std::function<void()> runLoop = {}, std::function<void()> stopLoop = {})
      : runLoop(std::move(runLoop)), stopLoop(std::move(stopLoop)) {}

  void setDelegate(std::weak_ptr<ApplicationDelegate> value) override { delegate = std::move(value); }
  void setActivationPolicy(ActivationPolicy value) override { policy = value; }
  void run() override;
  void terminate() override;
  void replyToTerminate(bool terminate) override;
  void activateIgnoringOtherApps() override;
  void beep() override { ++beeps; }
  std::shared_ptr<Menu> makeMenu(const std::string& title) override { return std::make_shared<RecordingMenu>(title); }
  void setMainMenu(std::shared_ptr<Menu> menu) override { mainMenu = std::dynamic_pointer_cast<RecordingMenu>(menu); }
  void showAboutPanel(const std::string& name, const std::string& linkText, const std::string& linkURL) override {
    aboutPanels.push_back({name, linkText, linkURL});
  }
  std::shared_ptr<StatusItem> makeSquareStatusItem() override;
  std::shared_ptr<AppWindow> makeWindow(const std::string& title, Size contentSize) override;

  // The user's gestures: closing a window with its close button, clicking the Dock icon (which
  // makes the application active first), switching to another application.
  void closeWindow(RecordingWindow& window);
  void clickDockIcon();
  void switchAway() { active = false; }

  std::weak_ptr<ApplicationDelegate> delegate;
  std::optional<ActivationPolicy> policy;
  bool launched = false;
  bool terminationPending = false;
  bool terminated = false;
  int terminateRequests = 0;
  int terminateReplies = 0;  // every reply, whether one was pending or not
  int activations = 0;
  bool active = false;
  int beeps = 0;
  std::shared_ptr<RecordingMenu> mainMenu;
  std::vector<std::shared_ptr<RecordingStatusItem>> statusItems;
  std::vector<std::shared_ptr<RecordingWindow>> windows;
  std::vector<AboutPanel> aboutPanels;

 private:
  void finish();
  std::function<void()> runLoop, stopLoop;
};

}  // namespace turnlet::sim
