#include "display/DisplayGeometry.h"

#include <cmath>

namespace turnlet {

Point DisplayGeometry::sourceOrigin(const Rect& original, Size source, const std::vector<Rect>& neighbors) {
  const Rect& o = original;
  Point origin{o.minX(), o.minY()};
  const auto touching = [](double a, double b) { return std::fabs(a - b) <= touchTolerancePoints; };
  for (const Rect& r : neighbors) {
    // Strict overlaps, so that a neighbour meeting original only at a corner shares no band.
    const bool besideBand = r.minY() < o.maxY() && o.minY() < r.maxY();
    const bool aboveBelowBand = r.minX() < o.maxX() && o.minX() < r.maxX();
    if (besideBand) {
      if (touching(o.maxX(), r.minX()))
        origin.x = r.minX() - source.width;
      else if (touching(o.minX(), r.maxX()))
        origin.x = r.maxX();
    }
    if (aboveBelowBand) {
      if (touching(o.maxY(), r.minY()))
        origin.y = r.minY() - source.height;
      else if (touching(o.minY(), r.maxY()))
        origin.y = r.maxY();
    }
  }
  return origin;
}

}  // namespace turnlet
