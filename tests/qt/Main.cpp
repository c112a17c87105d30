#include <gtest/gtest.h>

#include <QApplication>

#include "qt/QtMessageFilter.h"

// Qt is not built with ThreadSanitizer: its own threads (the raster painter's pool) synchronise
// in code TSan cannot see, so the C library calls Qt makes (memmove, new and delete of its shared
// data) would read as races. Only the calls made by Qt's code are ignored; every load and store
// of ours is checked.
extern "C" const char* __tsan_default_suppressions() {
  return "called_from_lib:libQt6Core.so.6\ncalled_from_lib:libQt6Gui.so.6\n";
}

// The one QApplication of the Qt and simulator tests, on Qt's offscreen platform unless told otherwise (ctest
// says so too), so that no display server is needed, not even to list the tests.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  turnlet::qt::QtMessageFilter::install();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
