#include <gtest/gtest.h>
#include <dlfcn.h>

#include "host/DynamicLibraryLoader.h"

using namespace turnlet;

TEST(DynamicLibraryLoader, MapsThePlatformModeAndClosesOnDestruction) {
  using host::DynamicLibraryLoader;
  EXPECT_EQ(DynamicLibraryLoader::hostMode(5), RTLD_LAZY | RTLD_LOCAL);
  EXPECT_EQ(DynamicLibraryLoader::hostMode(libraryLoadNow | libraryLoadGlobal), RTLD_NOW | RTLD_GLOBAL);
  for (int refused : {0, 3, 4, 0x100, 0x1 | 0x10}) EXPECT_EQ(DynamicLibraryLoader::hostMode(refused), std::nullopt);

  DynamicLibraryLoader loader;
  EXPECT_FALSE(loader.open("/nonexistent/DisplayServices", 5));
  auto library = loader.open("libm.so.6", 5);
  ASSERT_TRUE(library);
  EXPECT_TRUE(library->displayFloatFunction("cos"));
  EXPECT_FALSE(library->displayFloatFunction("DisplayServicesGetBrightness"));
}
