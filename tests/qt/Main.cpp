#include <gtest/gtest.h>

#include <QApplication>

// The one QApplication of the Qt tests, on Qt's offscreen platform unless told otherwise (ctest
// says so too), so that no display server is needed, not even to list the tests.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
