#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/TurnletApp.h"
#include "host/RunLoop.h"
#include "sim/World.h"
#include "sim/WorldFile.h"

int main(int argc, char** argv) {
  using namespace turnlet;
  std::vector<std::string> arguments(argv, argv + argc);

  // On this machine the Mac is simulated; TURNLET_WORLD describes it, else the built-in world.
  sim::WorldDescription description;
  try {
    const char* path = std::getenv("TURNLET_WORLD");
    description = path && *path ? sim::loadWorldFile(path) : sim::defaultWorld();
  } catch (const sim::WorldFileError& e) {
    std::cerr << "turnlet: TURNLET_WORLD " << e.what() << '\n';
    return 1;
  }

  host::RunLoop loop;
  sim::World world(loop, description);
  return TurnletApp::main(arguments, world.displays, std::cout, std::cerr);
}
