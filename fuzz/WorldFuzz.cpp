// The world file, as TURNLET_WORLD hands it to the program. Properties: a bad file gives one
// WorldFileError whose text is one line; a good one makes a world whose listing prints one line
// per display, and whose compositor draws every display at its mode's pixel size.
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
  for (const sim::SimDisplay& display : description.displays) {
    const auto size = world.displays.currentModePixelSize(display.id);
    const auto picture = world.compositor.draw(display.id);
    const bool sized = size && size->width > 0 && size->height > 0;
    fuzz::check(sized == bool(picture), "a display with pixels has a picture, and only that one");
    fuzz::check(!picture || (picture->width() == size->width && picture->height() == size->height),
                "a picture is the mode's pixel size");
  }
  return 0;
}
