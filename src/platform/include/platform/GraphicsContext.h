#pragma once

#include "platform/Geometry.h"

namespace turnlet {

// Colours a view draws with, named by their role so that each appearance picks its own shade.
enum class SemanticColor { label, secondaryLabel, tertiaryLabel, windowBackground };

enum class LineCap { butt, round, square };

// The drawing context a custom view is handed while it draws (y grows upward). Angles are radians,
// counter-clockwise positive. Main loop only, valid only during the draw.
class GraphicsContext {
 public:
  virtual ~GraphicsContext() = default;
  virtual void save() = 0;
  virtual void restore() = 0;
  virtual void translate(double x, double y) = 0;
  virtual void rotate(double radians) = 0;
  virtual void strokeRoundedRect(const Rect& rect, double radius, SemanticColor color, double lineWidth) = 0;
  virtual void fillRoundedRect(const Rect& rect, double radius, SemanticColor color) = 0;
  virtual void strokeLine(const Point& from, const Point& to, SemanticColor color, double lineWidth, LineCap cap) = 0;
};

}  // namespace turnlet
