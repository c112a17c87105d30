#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "display/DisplayInfo.h"
#include "sim/ManualLoop.h"
#include "sim/World.h"
#include "virtualdisplay/TurnletVirtualDisplay.h"

namespace turnlet {

// A simulated Mac with the default displays (built-in 1440×900, iPad 1366×1024 to its right).
class VirtualDisplayTest : public ::testing::Test {
 protected:
  std::shared_ptr<TurnletVirtualDisplay> createPortrait(std::optional<PlatformError>* out = nullptr) {
    return TurnletVirtualDisplay::create(classes, 2048, 2732, 1024, 1366, out ? out : &error);
  }

  // The program's own display as the display list shows it once pending notifications ran.
  std::optional<DisplayInfo> ownDisplay() {
    loop.runUntilIdle();
    std::optional<DisplayInfo> found;
    for (const DisplayInfo& d : DisplayInfo::online(world.displays))
      if (d.isOwnVirtualDisplay()) {
        EXPECT_FALSE(found) << "more than one own virtual display";
        found = d;
      }
    return found;
  }

  sim::ManualLoop loop;
  sim::World world{loop};
  sim::VirtualDisplayClasses& classes = world.virtualDisplayClasses;
  std::optional<PlatformError> error;
};

}  // namespace turnlet
