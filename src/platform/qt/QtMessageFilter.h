#pragma once

#include <QString>
#include <QtGlobal>

namespace turnlet::qt {

// Keeps Qt's lines that tell a user nothing off standard error: a platform plugin that lacks a
// window feature (the offscreen and VNC ones cannot raise a window, grab the keyboard or pass size
// hints on) says so on every call, and Qt says where it keeps runtime files when the session names
// no folder for them (the program keeps none). Every other message goes to the handler that was
// installed before. Call install() on the main thread before the QApplication is made.
class QtMessageFilter {
 public:
  static void install();
  static bool isNoise(QtMsgType type, const QString& message);
};

}  // namespace turnlet::qt
