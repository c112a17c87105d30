#include "simulator/DesktopShortcuts.h"

#include <QKeyEvent>

#include <algorithm>

namespace turnlet::simulator {

std::optional<KeyEquivalent> DesktopShortcuts::keyEquivalent(const QKeyEvent& event) {
  const int key = event.key();
  const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z, digit = key >= Qt::Key_0 && key <= Qt::Key_9;
  if (!letter && !digit) return std::nullopt;
  const Qt::KeyboardModifiers held = event.modifiers();
  unsigned modifiers = 0;
  if (held & Qt::ControlModifier) modifiers |= KeyEquivalent::command;
  if (held & Qt::AltModifier) modifiers |= KeyEquivalent::option;
  if (held & Qt::MetaModifier) modifiers |= KeyEquivalent::control;
  if (held & Qt::ShiftModifier) modifiers |= KeyEquivalent::shift;
  const char spelled = letter ? static_cast<char>('a' + (key - Qt::Key_A)) : static_cast<char>('0' + (key - Qt::Key_0));
  return KeyEquivalent{std::string(1, spelled), modifiers};
}

bool DesktopShortcuts::eventFilter(QObject* watched, QEvent* event) {
  // The override comes first: taking it keeps the application's own shortcuts from the key.
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
    return QObject::eventFilter(watched, event);
  const auto key = keyEquivalent(static_cast<QKeyEvent&>(*event));
  const auto registered = hotKeys.registered();
  if (!key || std::find(registered.begin(), registered.end(), *key) == registered.end())
    return QObject::eventFilter(watched, event);
  event->accept();
  if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) hotKeys.press(*key);
  return event->type() == QEvent::KeyPress;
}

}  // namespace turnlet::simulator
