#pragma once

#include <optional>

#include "display/QuarterTurn.h"
#include "platform/Geometry.h"

namespace turnlet {

// Whether a view's y axis grows upwards (the platform's default) or downwards.
enum class ViewCoordinates { unflipped, flipped };

// The arithmetic that undoes the renderer's rotation and letterbox fit: view points and view
// movements on the presentation view become points and movements in the global display space of
// the virtual display (the source space). Pure functions of their arguments.
//
// View space is unflipped (origin bottom-left, y up) unless a function says otherwise; source
// space has y down. Every function returns nothing for unusable input (an empty, NaN or infinite
// rectangle, one whose far edge rounds onto its near edge, a NaN or infinite coordinate) instead
// of a meaningless value.
class TouchGeometry {
 public:
  TouchGeometry() = delete;

  // The source point under a view point, or nothing when the point lies outside the content
  // rectangle (edges included in the content). A point on the content's far edges lands 0.001
  // point inside the source rectangle (or on the last coordinate below its far edge, where 0.001
  // is lost in rounding), so the result always lies inside it.
  static std::optional<Point> sourcePoint(Point point, const Rect& content, const Rect& sourceBounds,
                                          QuarterTurn rotation);

  // A view movement or velocity turned into the same movement in source space: the derivative of
  // sourcePoint for the given content rectangle.
  static std::optional<Size> sourceDelta(Size viewDelta, const Rect& content, const Rect& sourceBounds,
                                         QuarterTurn rotation);

  // The letterbox: the rectangle inside the view in which the rotated source is shown, scaled by
  // the smaller ratio and centred, in view points (not rounded to pixels).
  static std::optional<Rect> contentBounds(const Rect& viewBounds, const Rect& sourceBounds, QuarterTurn rotation);

  // A location in the view's own coordinates (flipped or not) to a source point.
  static std::optional<Point> point(Point location, const Rect& viewBounds, ViewCoordinates coordinates,
                                    const Rect& sourceBounds, QuarterTurn rotation);

 private:
  static double clamp(double value, double minimum, double maximum, double length);
};

}  // namespace turnlet
