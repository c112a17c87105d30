#include <gtest/gtest.h>

#include <ostream>

#include "simulator/ControlWindowPlacement.h"

using namespace turnlet::simulator;

void PrintTo(const QPoint& p, std::ostream* out) { *out << "(" << p.x() << ", " << p.y() << ")"; }

namespace {

// The simulator window as it opens (1280 × 850 with its frame) at `at`, the built-in world's
// pictures in it (the Mac's 640 × 400, the iPad's 608 × 455 at its right), a 340 × 520 control
// window.
ControlWindowPlacement opened(QRect available, QPoint at = {0, 0}) {
  return {available, QRect(at, QSize(1280, 850)), QSize(340, 520), QRect(656, 197, 608, 455).translated(at),
          {QRect(16, 197, 640, 400).translated(at)}};
}

}  // namespace

// Beside the simulator window where the screen has room, else as clear as can be of the iPad's
// picture, then of the Mac's, then of the window; never outside the screen's available area.
TEST(ControlWindowPlacement, BesideTheSimulatorElseClearOfTheIPad) {
  struct Row {
    const char* name;
    ControlWindowPlacement placement;
    QPoint expected;
  };
  ControlWindowPlacement cramped{QRect(0, 0, 800, 600), QRect(0, 0, 800, 600), QSize(340, 520),
                                 QRect(100, 50, 600, 500), {}};
  const Row rows[] = {
      {"1920 × 1200: at its right, tops aligned", opened(QRect(0, 0, 1920, 1200)), {1292, 0}},
      {"under a top panel", opened(QRect(0, 28, 1920, 1172), {0, 28}), {1292, 28}},
      {"a second screen at the right", opened(QRect(1920, 0, 2560, 1440), {1920, 0}), {3212, 0}},
      {"window at the screen's right edge: at its left", opened(QRect(0, 0, 1920, 1200), {640, 0}), {288, 0}},
      {"tall screen: below it, at the screen's edge", opened(QRect(0, 0, 1400, 1600)), {1060, 862}},
      {"1366 × 768: over the Mac's picture, clear of the iPad's", opened(QRect(0, 0, 1366, 740)), {0, 0}},
      {"no spot clear of the iPad: the least of it covered", cramped, {460, 0}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const QPoint at = row.placement.position();
    EXPECT_EQ(at, row.expected);
    EXPECT_TRUE(row.placement.available.contains(QRect(at, row.placement.controlFrame)));
  }
}
