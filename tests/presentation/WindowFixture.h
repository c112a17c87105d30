#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "sim/system/ManualLoop.h"
#include "sim/world/World.h"

namespace turnlet {

// A simulated Mac for window tests. After each scenario the test's objects are dropped and the
// window server is walked: no window the program made may be left on it.
class WindowFixture : public ::testing::Test {
 protected:
  sim::ManualLoop loop;
  sim::World world{loop};
  std::function<void()> dropObjects;

  void TearDown() override {
    if (dropObjects) dropObjects();
    loop.runUntilIdle();
    for (const sim::ServerWindow* w : world.windows.windows()) ADD_FAILURE() << "left: level " << w->properties().level;
  }
  const sim::ServerWindow* onlyWindow() const {
    auto list = world.windows.windows();
    return list.size() == 1 ? list.front() : nullptr;
  }
};

}  // namespace turnlet
