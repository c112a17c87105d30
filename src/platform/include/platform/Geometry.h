#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace turnlet {

// Points, sizes and rectangles in the global display space: points, origin at the main display's
// top-left corner, y growing downward. Semantics follow the platform's rectangles: a rectangle
// with a negative size is read through its standardised form, containment includes the minimum
// edges and excludes the maximum edges, and the null rectangle is the identity of union.

struct Point {
  double x = 0;
  double y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  double width = 0;
  double height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  Point origin;
  Size size;

  Rect() = default;
  Rect(Point o, Size s) : origin(o), size(s) {}
  Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}

  // The rectangle that contains nothing and leaves any rectangle unchanged under union.
  static Rect null() {
    const double inf = std::numeric_limits<double>::infinity();
    return Rect(inf, inf, 0, 0);
  }
  bool isNull() const { return std::isinf(origin.x) || std::isinf(origin.y); }
  // True for the null rectangle and for a zero or NaN width or height.
  bool isEmpty() const {
    return isNull() || size.width == 0 || size.height == 0 || std::isnan(size.width) || std::isnan(size.height);
  }

  double minX() const { return std::min(origin.x, origin.x + size.width); }
  double maxX() const { return std::max(origin.x, origin.x + size.width); }
  double minY() const { return std::min(origin.y, origin.y + size.height); }
  double maxY() const { return std::max(origin.y, origin.y + size.height); }
  double midX() const { return (minX() + maxX()) / 2; }
  double midY() const { return (minY() + maxY()) / 2; }
  double width() const { return std::fabs(size.width); }
  double height() const { return std::fabs(size.height); }

  bool contains(Point p) const {
    if (isEmpty()) return false;
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
  }

  Rect united(const Rect& other) const {
    if (isNull()) return other;
    if (other.isNull()) return *this;
    const double x0 = std::min(minX(), other.minX());
    const double y0 = std::min(minY(), other.minY());
    const double x1 = std::max(maxX(), other.maxX());
    const double y1 = std::max(maxY(), other.maxY());
    return Rect(x0, y0, x1 - x0, y1 - y0);
  }

  friend bool operator==(const Rect& a, const Rect& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    return a.minX() == b.minX() && a.minY() == b.minY() && a.width() == b.width() && a.height() == b.height();
  }
};

}  // namespace turnlet
