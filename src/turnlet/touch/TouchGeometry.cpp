#include "touch/TouchGeometry.h"

#include <algorithm>
#include <cmath>

namespace turnlet {

namespace {

// Finite edges, far ones different from near ones: far from the origin a small size can vanish in
// rounding, and near the limits of double a finite size can put an edge at infinity.
bool isUsable(const Rect& rect) {
  return std::isfinite(rect.minX()) && std::isfinite(rect.maxX()) && std::isfinite(rect.minY()) &&
         std::isfinite(rect.maxY()) && rect.maxX() > rect.minX() && rect.maxY() > rect.minY();
}

bool isFinite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

}  // namespace

double TouchGeometry::clamp(double value, double minimum, double maximum, double length) {
  // Keep a normalised 1.0 just inside the far edge: the source rectangle excludes its maximum. Far
  // from the origin the inset can vanish in rounding; then the last coordinate below the edge.
  const double inset = std::min(0.001, length * 0.5);
  const double result = minimum + std::min(std::max(value * length, 0.0), length - inset);
  return result < maximum ? result : std::nextafter(maximum, minimum);
}

std::optional<Point> TouchGeometry::sourcePoint(Point point, const Rect& content, const Rect& sourceBounds,
                                                QuarterTurn rotation) {
  if (!isUsable(content) || !isUsable(sourceBounds) || !isFinite(point.x, point.y)) return std::nullopt;
  if (point.x < content.minX() || point.x > content.maxX() || point.y < content.minY() || point.y > content.maxY())
    return std::nullopt;

  const double u = (point.x - content.minX()) / content.width();
  const double v = (point.y - content.minY()) / content.height();
  double sx = 0;
  double sy = 0;
  switch (rotation) {
    case QuarterTurn::normal: sx = u; sy = 1 - v; break;
    case QuarterTurn::right: sx = v; sy = u; break;
    case QuarterTurn::inverted: sx = 1 - u; sy = v; break;
    case QuarterTurn::left: sx = 1 - v; sy = 1 - u; break;
  }
  const Point result{clamp(sx, sourceBounds.minX(), sourceBounds.maxX(), sourceBounds.width()),
                     clamp(sy, sourceBounds.minY(), sourceBounds.maxY(), sourceBounds.height())};
  // Finite rectangles near the limits of double can still overflow on the way.
  if (!isFinite(result.x, result.y)) return std::nullopt;
  return result;
}

std::optional<Size> TouchGeometry::sourceDelta(Size viewDelta, const Rect& content, const Rect& sourceBounds,
                                               QuarterTurn rotation) {
  if (!isUsable(content) || !isUsable(sourceBounds) || !isFinite(viewDelta.width, viewDelta.height))
    return std::nullopt;

  const double du = viewDelta.width / content.width();
  const double dv = viewDelta.height / content.height();
  const double w = sourceBounds.width();
  const double h = sourceBounds.height();
  Size result;
  switch (rotation) {
    case QuarterTurn::normal: result = {du * w, -dv * h}; break;
    case QuarterTurn::right: result = {dv * w, du * h}; break;
    case QuarterTurn::inverted: result = {-du * w, dv * h}; break;
    case QuarterTurn::left: result = {-dv * w, -du * h}; break;
  }
  // A huge movement over a tiny view overflows; an infinite delta is no movement anyone can post.
  if (!isFinite(result.width, result.height)) return std::nullopt;
  return result;
}

std::optional<Rect> TouchGeometry::contentBounds(const Rect& viewBounds, const Rect& sourceBounds,
                                                 QuarterTurn rotation) {
  if (!isUsable(viewBounds) || !isUsable(sourceBounds)) return std::nullopt;
  const Size rotated = sourceSize(rotation, Size{sourceBounds.width(), sourceBounds.height()});
  const double scale = std::min(viewBounds.width() / rotated.width, viewBounds.height() / rotated.height);
  const double width = rotated.width * scale;
  const double height = rotated.height * scale;
  const Rect content(viewBounds.midX() - width / 2, viewBounds.midY() - height / 2, width, height);
  if (!isUsable(content)) return std::nullopt;
  return content;
}

std::optional<Point> TouchGeometry::point(Point location, const Rect& viewBounds, ViewCoordinates coordinates,
                                          const Rect& sourceBounds, QuarterTurn rotation) {
  const std::optional<Rect> content = contentBounds(viewBounds, sourceBounds, rotation);
  if (!content) return std::nullopt;
  if (coordinates == ViewCoordinates::flipped) location.y = viewBounds.minY() + viewBounds.maxY() - location.y;
  return sourcePoint(location, *content, sourceBounds, rotation);
}

}  // namespace turnlet
