// Compiled with the logic library's include paths only; it must not find the simulation.
#include "sim/world/World.h"
