#include "app/AppDelegate.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <tuple>

#include "app/AppBrand.h"

namespace turnlet {

namespace {

// A statistics window of zero length gives no rate; it shows as 0, never as "inf" or "nan".
double shown(double value) { return std::isfinite(value) ? value : 0; }

template <class... A>
std::string format(const char* pattern, A... values) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, pattern, shown(values)...);
  return buffer;
}

}  // namespace

std::shared_ptr<AppDelegate> AppDelegate::make(Services services) {
  return std::make_shared<AppDelegate>(Passkey{}, std::move(services));
}

AppDelegate::AppDelegate(Passkey, Services services)
    : application(services.application),
      defaults(services.defaults),
      loginItem(services.loginItem),
      hotKeys(services.hotKeys),
      loop(services.session.loop),
      displays(services.session.displays),
      rotation(RotationSession::make(services.session, RotationPreferences(services.defaults))),
      brightness(services.makeFollower()),
      tasks(services.session.loop, services.session.log) {}

void AppDelegate::didFinishLaunching() {
  buildMenus();
  buildWindow();
  std::weak_ptr<AppDelegate> weak = weak_from_this();
  rotation->onChange = [weak] {
    if (auto self = weak.lock()) self->refresh();
  };
  brightness->onChange = [weak] {
    if (auto self = weak.lock()) self->refreshBrightness();
  };
  const auto stored = defaults.value(brightnessPreference);
  brightness->setEnabled(stored && stored->asBool() && *stored->asBool());
  const auto shortcutsStored = defaults.value(shortcutsPreference);
  shortcutsEnabled = !shortcutsStored || !shortcutsStored->asBool() || *shortcutsStored->asBool();
  registerShortcuts();
  // Touch the user left on comes back on, but never with a prompt at launch: without the
  // permission it stays off and says why.
  const auto touchStored = defaults.value(touchPreference);
  if (touchStored && touchStored->asBool() && *touchStored->asBool()) rotation->setTouchEnabled(true, false);
  refresh();
  window->show();
  application.activateIgnoringOtherApps();
  rotation->startMonitoring();
}

void AppDelegate::buildMenus() {
  std::weak_ptr<AppDelegate> weak = weak_from_this();
  // Actions hold the delegate weakly and run a member on it.
  auto act = [weak](void (AppDelegate::*member)()) {
    return [weak, member](MenuItem&) {
      if (auto self = weak.lock()) ((*self).*member)();
    };
  };
  auto quit = [this](MenuItem&) { application.terminate(); };

  auto mainMenu = application.makeMenu("");
  auto appItem = mainMenu->addItem("Turnlet");
  auto appMenu = application.makeMenu("Turnlet");
  appMenu->addItem("About Turnlet")->setAction(act(&AppDelegate::showAbout));
  appMenu->addSeparator();
  auto quitApp = appMenu->addItem("Quit Turnlet");
  quitApp->setAction(quit);
  quitApp->setKeyEquivalent(KeyEquivalent{"q"});
  appItem->setSubmenu(appMenu);
  application.setMainMenu(mainMenu);

  statusItem = application.makeSquareStatusItem();
  statusItem->setSymbolImage("rotate.right", "Turnlet");
  statusItem->setToolTip("Turnlet");

  auto menu = application.makeMenu("Turnlet");
  rotateItem = menu->addItem("Rotate");
  rotateItem->setAction(act(&AppDelegate::rotate));
  rotateItem->setKeyEquivalent(KeyEquivalent{"r"});
  resetItem = menu->addItem("Reset to Landscape");
  resetItem->setAction(act(&AppDelegate::reset));
  auto rotationMenu = application.makeMenu("Rotation");
  rotationMenu->setAutoenablesItems(false);  // disabled while busy, like Rotate
  for (std::size_t i = 0; i < allQuarterTurns.size(); ++i) {
    turnItems[i] = rotationMenu->addItem(turnTitle(allQuarterTurns[i]));
    turnItems[i]->setAction([weak, turn = allQuarterTurns[i]](MenuItem&) {
      if (auto self = weak.lock()) self->chooseRotation(turn);
    });
  }
  rotationItem = menu->addItem("Rotation · " + turnTitle(QuarterTurn::normal));
  rotationItem->setSubmenu(rotationMenu);
  displayMenu = application.makeMenu("Display");
  menu->addItem("Display")->setSubmenu(displayMenu);
  menu->addSeparator();
  brightnessItem = menu->addItem("Follow Main Display Brightness");
  brightnessItem->setAction(act(&AppDelegate::toggleBrightness));
  touchItem = menu->addItem("Touch Input");
  touchItem->setAction(act(&AppDelegate::toggleTouch));
  menu->addSeparator();
  performanceItem = menu->addItem("Performance: inactive");
  performanceItem->setEnabled(false);
  menu->addSeparator();
  menu->addItem("Show Button")->setAction(act(&AppDelegate::showWindow));
  menu->addSeparator();
  startAtLoginItem = menu->addItem("Start at Login");
  startAtLoginItem->setAction(act(&AppDelegate::toggleStartAtLogin));
  shortcutsItem = menu->addItem("Global Shortcuts");
  shortcutsItem->setAction(act(&AppDelegate::toggleGlobalShortcuts));
  menu->addSeparator();
  auto quitItem = menu->addItem("Quit");
  quitItem->setAction(quit);
  quitItem->setKeyEquivalent(KeyEquivalent{"q"});
  menu->setAutoenablesItems(false);
  // The submenu's items are enabled explicitly (not while rotated or busy); automatic enabling
  // would enable them all again.
  displayMenu->setAutoenablesItems(false);
  displayMenu->setOnWillOpen([weak] {
    if (auto self = weak.lock()) self->updateDisplayMenu();
  });
  statusItem->setMenu(menu);
}

void AppDelegate::buildWindow() {
  std::weak_ptr<AppDelegate> weak = weak_from_this();
  auto act = [weak](void (AppDelegate::*member)()) {
    return [weak, member] {
      if (auto self = weak.lock()) ((*self).*member)();
    };
  };
  const Font small{11}, status{12}, performance{10, FontWeight::regular, true};
  window = application.makeWindow("Turnlet", {340, 490});
  orientationView = std::make_unique<IPadOrientationView>(window->addCustomView({18, Size{216, 166}, {}}));
  rotateButton = window->addButton(Button::Kind::push, "Rotate", {12, Size{210, 48}, {}});
  rotateButton->setAction(act(&AppDelegate::rotate));
  rotateButton->setToolTip("Rotate the iPad another 90° clockwise");
  rotateButton->setFont({18, FontWeight::medium});
  rotateButton->setKeyEquivalent(KeyEquivalent{"r"});
  brightnessCheckbox = window->addButton(Button::Kind::checkBox, "Follow main display brightness", {18, {}, {}});
  brightnessCheckbox->setAction(act(&AppDelegate::toggleBrightness));
  brightnessCheckbox->setToolTip(
      "Follow main display brightness using software dimming on the iPad, with gentler dimming at low levels. Its "
      "hardware brightness stays unchanged.");
  brightnessLabel = window->addLabel({6, {}, 22});
  brightnessLabel->setStyle(small, SemanticColor::secondaryLabel, true);
  touchCheckbox = window->addButton(Button::Kind::checkBox, "Touch input", {14, {}, {}});
  touchCheckbox->setAction(act(&AppDelegate::toggleTouch));
  touchCheckbox->setToolTip(
      "Tap to click. Swipe to scroll, or drag a window's title bar to move it. Hold for half a second then move to "
      "drag other items; release a stationary hold to right-click. Requires macOS 27, iPadOS 27 and permission to "
      "control apps.");
  touchLabel = window->addLabel({6, {}, 22});
  touchLabel->setStyle(small, SemanticColor::secondaryLabel, true);
  statusLabel = window->addLabel({18, {}, 22});
  statusLabel->setStyle(status, SemanticColor::secondaryLabel, true);
  performanceLabel = window->addLabel({9, {}, {}});
  performanceLabel->setStyle(performance, SemanticColor::tertiaryLabel, false);
}

void AppDelegate::handOverDisplay(std::optional<DisplayID> id) {
  if (id == brightness->preferredDisplayID) return;
  brightness->preferredDisplayID = id;
  if (brightness->isEnabled()) brightness->refreshDisplays();
}

void AppDelegate::refresh() {
  const auto& s = rotation->state();
  handOverDisplay(s.target ? std::optional<DisplayID>(s.target->id) : rotation->preferredDisplayID());
  refreshBrightness();

  touchCheckbox->setChecked(s.touchEnabled);
  touchItem->setChecked(s.touchEnabled);
  const bool touchSwitchable = !s.busy || s.touchEnabled;
  touchCheckbox->setEnabled(touchSwitchable);
  touchItem->setEnabled(touchSwitchable);
  touchLabel->setText(s.touchStatus);

  if (!s.virtualDisplay || s.busy) {
    if (timer) timer->invalidate();
    timer.reset();
  } else if (!timer) {
    timer = std::make_unique<RotationSessionTimer>(loop, rotation);
  }

  rotateButton->setEnabled(!s.busy);
  rotateItem->setEnabled(!s.busy);
  resetItem->setEnabled(rotation->canReset() && !s.busy);
  rotationItem->setTitle("Rotation · " + turnTitle(s.rotation));
  for (std::size_t i = 0; i < allQuarterTurns.size(); ++i) {
    turnItems[i]->setChecked(allQuarterTurns[i] == s.rotation);
    turnItems[i]->setEnabled(!s.busy);
  }
  refreshStartAtLogin();
  orientationView->setRotation(s.rotation);
  statusLabel->setText(s.status);
  statusItem->setToolTip("Turnlet · " + s.status);
  performanceItem->setTitle(performanceItemTitle(s.performance));
  performanceLabel->setText(performanceLabelText(s.performance));

  if (quitWhenIdle && !s.busy) {
    quitWhenIdle = false;
    // An operation may start before the post runs (a retry attempt): then it waits again.
    loop.post([weak = weak_from_this()] {
      if (auto self = weak.lock()) self->terminationSignal();
    });
  }
}

void AppDelegate::refreshStartAtLogin() {
  const LoginItemStatus status = loginItem.status();
  const bool approval = status == LoginItemStatus::requiresApproval;
  startAtLoginItem->setTitle(approval ? "Start at Login (needs approval)" : "Start at Login");
  startAtLoginItem->setChecked(status == LoginItemStatus::enabled);
  // A refusal stays here rather than in the status line, which the next refresh would replace.
  startAtLoginItem->setToolTip(loginItemError);
}

void AppDelegate::toggleStartAtLogin() {
  try {
    switch (loginItem.status()) {
      case LoginItemStatus::requiresApproval: loginItem.openSystemSettings(); break;
      case LoginItemStatus::enabled: loginItem.unregisterItem(); break;
      case LoginItemStatus::notRegistered:
      case LoginItemStatus::notFound: loginItem.registerItem(); break;
    }
    loginItemError.clear();
  } catch (const Error& e) {
    loginItemError = e.localizedDescription();
  }
  refreshStartAtLogin();
}

void AppDelegate::didBecomeActive() {
  if (startAtLoginItem) refreshStartAtLogin();
}

void AppDelegate::registerShortcuts() {
  shortcuts.clear();
  std::string refused;
  if (shortcutsEnabled) {
    std::weak_ptr<AppDelegate> weak = weak_from_this();
    const std::tuple<KeyEquivalent, const char*, void (AppDelegate::*)()> keys[] = {
        {rotateShortcut, "Control-Option-Command-R", &AppDelegate::rotate},
        {resetShortcut, "Control-Option-Command-0", &AppDelegate::reset}};
    for (const auto& [key, name, member] : keys) {
      try {
        shortcuts.push_back(hotKeys.registerHotKey(key, [weak, member = member] {
          if (auto self = weak.lock()) ((*self).*member)();
        }));
      } catch (const Error& e) {
        refused += (refused.empty() ? "" : "\n") + std::string(name) + ": " + e.localizedDescription();
      }
    }
  }
  shortcutsItem->setChecked(shortcutsEnabled);
  shortcutsItem->setToolTip(refused.empty()
                                ? "Control-Option-Command-R rotates and Control-Option-Command-0 resets, from any application."
                                : refused);
}

void AppDelegate::toggleGlobalShortcuts() {
  shortcutsEnabled = !shortcutsEnabled;
  defaults.set(shortcutsPreference, DefaultsValue{shortcutsEnabled});
  registerShortcuts();
}

std::string AppDelegate::turnTitle(QuarterTurn turn) {
  return std::to_string(rawValue(turn)) + "° " + (isPortrait(turn) ? "Portrait" : "Landscape");
}

void AppDelegate::refreshBrightness() {
  brightnessCheckbox->setChecked(brightness->isEnabled());
  brightnessItem->setChecked(brightness->isEnabled());
  brightnessLabel->setText(brightness->status());
}

std::string AppDelegate::performanceItemTitle(const std::optional<RenderStatistics::Snapshot>& p) {
  if (!p) return "Performance: inactive";
  return format("Capture %.0f · Present %.0f · New %.0f fps · GPU %.1f ms", p->captureFPS, p->presentationFPS,
                p->updatedFPS, p->averageGPUms);
}

std::string AppDelegate::performanceLabelText(const std::optional<RenderStatistics::Snapshot>& p) {
  if (!p) return "";
  return format("Capture %.0f · Present %.0f fps", p->captureFPS, p->presentationFPS);
}

void AppDelegate::updateDisplayMenu() {
  std::weak_ptr<AppDelegate> weak = weak_from_this();
  auto choose = [weak](MenuItem& item) {
    if (auto self = weak.lock()) self->selectDisplay(item.tag());
  };
  const auto& s = rotation->state();
  const bool choosable = !s.virtualDisplay && !s.busy;
  const bool stored = rotation->preferences().preferredDeviceID().has_value();
  displayMenu->removeAllItems();
  auto automatic = displayMenu->addItem("Detect Sidecar Automatically");
  automatic->setAction(choose);
  automatic->setTag(0);
  automatic->setChecked(!stored);
  automatic->setEnabled(choosable);
  const auto preferred = rotation->preferredDisplayID();
  for (const DisplayInfo& d : DisplayInfo::online(displays)) {
    if (d.builtIn || d.main || d.isOwnVirtualDisplay()) continue;
    auto item = displayMenu->addItem(d.name);
    item->setAction(choose);
    item->setTag(d.id);
    item->setChecked(stored && preferred == d.id);
    item->setEnabled(choosable);
  }
}

void AppDelegate::selectDisplay(std::int64_t tag) {
  const auto& s = rotation->state();
  if (s.virtualDisplay || s.busy) return;
  // Tags are wider than display ids: one that is no display id chooses nothing.
  if (tag < 0 || tag > std::numeric_limits<DisplayID>::max()) return;
  rotation->selectDisplay(tag == 0 ? std::nullopt : std::optional<DisplayID>(static_cast<DisplayID>(tag)));
  handOverDisplay(rotation->preferredDisplayID());
}

void AppDelegate::toggleBrightness() {
  brightness->setEnabled(!brightness->isEnabled());
  defaults.set(brightnessPreference, DefaultsValue{brightness->isEnabled()});
  refreshBrightness();
}

// The only writer of the stored touch choice: it keeps what the user got, so touch that could not
// start is not tried again at the next launch. Quitting and a lost permission leave it alone.
void AppDelegate::toggleTouch() {
  rotation->setTouchEnabled(!rotation->state().touchEnabled, true);
  defaults.set(touchPreference, DefaultsValue{rotation->state().touchEnabled});
}

void AppDelegate::rotate() { tasks.spawn(rotation->rotate()); }

void AppDelegate::reset() { tasks.spawn(rotation->reset()); }

void AppDelegate::chooseRotation(QuarterTurn turn) { tasks.spawn(rotation->rotateTo(turn)); }

void AppDelegate::showWindow() {
  window->show();
  application.activateIgnoringOtherApps();
}

void AppDelegate::showAbout() { application.showAboutPanel("Turnlet", AppBrand::website(), AppBrand::website()); }

bool AppDelegate::shouldHandleReopen(bool) {
  showWindow();
  return true;
}

TerminateReply AppDelegate::shouldTerminate() {
  // A request while the quitting shutdown runs is answered by that shutdown.
  if (quitting) return TerminateReply::later;
  if (rotation->state().busy) {
    application.beep();
    return TerminateReply::cancel;
  }
  quitting = true;
  quitWhenIdle = false;
  if (timer) timer->invalidate();
  timer.reset();
  brightness->setEnabled(false);
  rotation->setTouchEnabled(false, false);
  rotation->updateTouch();
  if (auto callback = rotation->onChange) callback();
  tasks.spawn([self = shared_from_this()]() -> Task<void> {
    try {
      co_await self->rotation->shutdown();
    } catch (...) {
      // The shutdown put back what it could; the process must still end.
    }
    self->application.replyToTerminate(true);
  });
  return TerminateReply::later;
}

void AppDelegate::terminationSignal() {
  if (quitting) return;
  if (rotation->state().busy) {
    quitWhenIdle = true;
    return;
  }
  application.terminate();
}

}  // namespace turnlet
