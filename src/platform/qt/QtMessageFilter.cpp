#include "qt/QtMessageFilter.h"

namespace turnlet::qt {

namespace {

QtMessageHandler previous = nullptr;

void filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (QtMessageFilter::isNoise(type, message)) return;
  if (previous) previous(type, context, message);
}

}  // namespace

void QtMessageFilter::install() {
  const QtMessageHandler before = qInstallMessageHandler(filter);
  if (before != filter) previous = before;
}

bool QtMessageFilter::isNoise(QtMsgType type, const QString& message) {
  return type == QtWarningMsg && (message.startsWith("This plugin does not support ") ||
                                  message.startsWith("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

}  // namespace turnlet::qt
