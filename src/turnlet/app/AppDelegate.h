#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/IPadOrientationView.h"
#include "brightness/BrightnessFollower.h"
#include "platform/Application.h"
#include "platform/HotKeys.h"
#include "platform/LoginItem.h"
#include "platform/UserDefaults.h"
#include "runtime/TaskScope.h"
#include "session/RotationSession.h"
#include "session/RotationSessionTimer.h"

namespace turnlet {

// The application's delegate and the owner of everything the user touches: the main menu, the
// status item and its menu with the Display submenu, the control window, the one rotation
// session and the one brightness follower. Commands go to the session; every change comes back
// through the session's and the follower's onChange to refresh(). Quitting waits for the
// session's shutdown, so the iPad is always back in its place before the process ends.
//
// Created once, on the main loop, and kept until the process ends.
class AppDelegate : public ApplicationDelegate, public std::enable_shared_from_this<AppDelegate> {
  struct Passkey {};

 public:
  struct Services {
    Application& application;
    UserDefaults& defaults;  // the standard store
    RotationSession::Services session;
    std::function<std::shared_ptr<BrightnessFollower>()> makeFollower;
    LoginItem& loginItem;
    HotKeys& hotKeys;
  };

  static inline const std::string brightnessPreference = "followMainDisplayBrightness";
  static inline const std::string shortcutsPreference = "globalShortcutsEnabled";
  static inline const std::string touchPreference = "touchInputEnabled";
  // Control-Option-Command-R rotates and Control-Option-Command-0 resets, from any application.
  static constexpr unsigned shortcutModifiers = KeyEquivalent::control | KeyEquivalent::option | KeyEquivalent::command;
  static inline const KeyEquivalent rotateShortcut{"r", shortcutModifiers}, resetShortcut{"0", shortcutModifiers};

  static std::shared_ptr<AppDelegate> make(Services services);
  AppDelegate(Passkey, Services services);

  void didFinishLaunching() override;
  bool shouldHandleReopen(bool hasVisibleWindows) override;
  TerminateReply shouldTerminate() override;
  // The user may have changed the login item in the system's settings meanwhile.
  void didBecomeActive() override;
  // SIGINT or SIGTERM: the Quit command's terminate request, but after the running operation
  // rather than refused while one runs; kept until the program is idle and it is honoured.
  void terminationSignal();

  // Commands.
  void rotate();
  void reset();
  void chooseRotation(QuarterTurn turn);
  void selectDisplay(std::int64_t tag);
  void toggleBrightness();
  void toggleTouch();
  void showWindow();
  void showAbout();
  void toggleStartAtLogin();
  void toggleGlobalShortcuts();

  RotationSession& session() const { return *rotation; }
  BrightnessFollower& follower() const { return *brightness; }

  // The performance item's text and the performance label's text (empty without a snapshot).
  static std::string performanceItemTitle(const std::optional<RenderStatistics::Snapshot>& snapshot);
  static std::string performanceLabelText(const std::optional<RenderStatistics::Snapshot>& snapshot);
  // "90° Portrait": a Rotation submenu item, and the submenu's title after "Rotation · ".
  static std::string turnTitle(QuarterTurn turn);

 private:
  void buildMenus();
  void buildWindow();
  void refresh();
  void refreshBrightness();
  void updateDisplayMenu();
  void handOverDisplay(std::optional<DisplayID> id);
  void refreshStartAtLogin();
  void registerShortcuts();

  Application& application;
  UserDefaults& defaults;
  LoginItem& loginItem;
  HotKeys& hotKeys;
  MainLoop& loop;
  DisplayServices& displays;
  std::shared_ptr<RotationSession> rotation;
  std::shared_ptr<BrightnessFollower> brightness;

  std::shared_ptr<AppWindow> window;
  std::shared_ptr<Button> rotateButton;
  std::unique_ptr<IPadOrientationView> orientationView;
  std::shared_ptr<Label> statusLabel, performanceLabel;
  std::shared_ptr<Button> brightnessCheckbox;
  std::shared_ptr<Label> brightnessLabel;
  std::shared_ptr<MenuItem> brightnessItem;
  std::shared_ptr<Button> touchCheckbox;
  std::shared_ptr<Label> touchLabel;
  std::shared_ptr<MenuItem> touchItem;
  std::shared_ptr<StatusItem> statusItem;
  std::shared_ptr<MenuItem> rotateItem, resetItem;
  std::shared_ptr<MenuItem> rotationItem;  // the Rotation submenu's item, titled with the turn
  std::array<std::shared_ptr<MenuItem>, allQuarterTurns.size()> turnItems;
  std::shared_ptr<Menu> displayMenu;
  std::shared_ptr<MenuItem> performanceItem;
  std::shared_ptr<MenuItem> startAtLoginItem, shortcutsItem;
  std::unique_ptr<RotationSessionTimer> timer;
  std::string loginItemError;  // the last refusal of the login item, shown in its tool tip
  bool shortcutsEnabled = true;
  std::vector<std::unique_ptr<HotKey>> shortcuts;

  bool quitting = false;        // a shutdown for quitting has started; it answers the request
  bool quitWhenIdle = false;    // a signal came while busy; honoured once idle
  TaskScope tasks;
};

}  // namespace turnlet
