// The world file, as TURNLET_WORLD hands it to the program. Properties: a bad file gives one
// WorldFileError whose text is one line; a good one makes a world whose listing prints one line
// per display.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "ListingCheck.h"
#include "sim/system/ManualLoop.h"
#include "sim/world/World.h"
#include "sim/world/WorldFile.h"

using namespace turnlet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  sim::WorldDescription description;
  try {
    description = sim::parseWorld(text, "world.json");
  } catch (const sim::WorldFileError& e) {
    const std::string what = e.what();
    fuzz::check(what.find_first_of("\r\n") == std::string::npos, "a world file error is one line");
    return 0;
  }
  sim::ManualLoop loop;
  sim::World world(loop, description);
  fuzz::checkListing(world.displays, description.displays.size());
  return 0;
}
