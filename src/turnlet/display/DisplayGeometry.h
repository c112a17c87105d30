#pragma once

#include <vector>

#include "platform/Geometry.h"

namespace turnlet {

// Geometry of the display layout, in global display points (y grows downward).
struct DisplayGeometry {
  // Two edges closer than this count as touching, in points.
  static constexpr double touchTolerancePoints = 2.0;

  // Where a display of size source must put its origin to touch the same neighbours as original
  // did: a neighbour beside original keeps the shared vertical edge, one above or below keeps the
  // shared horizontal edge. Neighbours that touch only at a corner, or not at all, are ignored;
  // when several set the same coordinate, the last one wins.
  static Point sourceOrigin(const Rect& original, Size source, const std::vector<Rect>& neighbors);
};

}  // namespace turnlet
