#include <gtest/gtest.h>

#include "runtime/Task.h"
#include "sim/ManualLoop.h"

using namespace turnlet;

TEST(Smoke, Builds) {
  sim::ManualLoop loop;
  int ran = 0;
  auto t = [](int& r) -> Task<void> { ++r; co_return; };
  spawn(loop, t(ran));
  loop.runUntilIdle();
  EXPECT_EQ(ran, 1);
}
