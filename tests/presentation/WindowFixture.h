#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "sim/ManualLoop.h"
#include "sim/World.h"

namespace turnlet {

// A simulated Mac for window tests. After each scenario the test's objects are dropped and the
// window server is walked: no window the program made may be left on it.
class WindowFixture : public ::testing::Test {
 protected:
  explicit WindowFixture(const sim::WorldDescription& description = sim::defaultWorld()) : world(loop, description) {}

  sim::ManualLoop loop;
  sim::World world;
  std::function<void()> dropObjects;  // drops whatever the test made

  void TearDown() override {
    if (dropObjects) dropObjects();
    loop.runUntilIdle();
    for (const sim::ServerWindow* w : world.windows.windows())
      ADD_FAILURE() << "a window is left at level " << w->properties().level << ", alpha " << w->alphaValue();
  }

  // The program's only open window, or null.
  const sim::ServerWindow* onlyWindow() const {
    auto list = world.windows.windows();
    return list.size() == 1 ? list.front() : nullptr;
  }
};

}  // namespace turnlet
