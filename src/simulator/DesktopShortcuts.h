#pragma once

#include <QObject>

#include <optional>

#include "platform/Menu.h"
#include "sim/app/SimHotKeys.h"

class QKeyEvent;

namespace turnlet::simulator {

// The simulated Mac's keyboard for system-wide key combinations: a key pressed in any window of
// the process, whichever has focus, goes to the combination registered for it, as a Mac delivers
// a registered hot key whichever application is active. Installed on the application. Main loop
// only.
class DesktopShortcuts : public QObject {
 public:
  explicit DesktopShortcuts(sim::SimHotKeys& hotKeys, QObject* parent = nullptr) : QObject(parent), hotKeys(hotKeys) {}

  // The key equivalent a key press spells, with the desktop's modifier keys (Ctrl is Command,
  // Alt is Option, Meta is Control); none for a key without a plain letter or digit.
  static std::optional<KeyEquivalent> keyEquivalent(const QKeyEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  sim::SimHotKeys& hotKeys;
};

}  // namespace turnlet::simulator
