#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "macos/display/LibraryMode.h"
#include "platform/LibraryLoader.h"

using namespace turnlet;
using namespace turnlet::macos;

TEST(MacLibraryMode, InterfaceBitsBecomeTheSystemsBits) {
  const DlopenBits mac{0x1, 0x2, 0x4, 0x8};
  const DlopenBits other{0x100, 0x200, 0x400, 0x800};  // distinct values show which bit went where
  struct Row {
    const char* name;
    int mode;
    std::optional<int> onMac;
    std::optional<int> onOther;
  };
  const std::vector<Row> rows = {
      {"lazy and local (the brightness reader's 5)", libraryLoadLazy | libraryLoadLocal, 5, 0x500},
      {"now and global", libraryLoadNow | libraryLoadGlobal, 0xA, 0xA00},
      {"lazy alone", libraryLoadLazy, 1, 0x100},
      {"now alone", libraryLoadNow, 2, 0x200},
      {"no binding", libraryLoadLocal, std::nullopt, std::nullopt},
      {"both bindings", libraryLoadLazy | libraryLoadNow, std::nullopt, std::nullopt},
      {"both visibilities", libraryLoadLazy | libraryLoadLocal | libraryLoadGlobal, std::nullopt, std::nullopt},
      {"an unknown bit", libraryLoadLazy | 0x10, std::nullopt, std::nullopt},
      {"nothing", 0, std::nullopt, std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(dlopenMode(row.mode, mac), row.onMac) << row.name;
    EXPECT_EQ(dlopenMode(row.mode, other), row.onOther) << row.name;
  }
}
