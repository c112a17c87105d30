#pragma once

#include <QColor>
#include <QPalette>

#include "platform/GraphicsContext.h"

class QPainter;

namespace turnlet::qt {

// A colour role in the widget's palette: the secondary and tertiary label colours are the text
// colour at the platform's opacities, so that they follow a dark palette too.
QColor semanticColor(SemanticColor color, const QPalette& palette);

// The drawing commands on a QPainter whose y axis already grows upward. Valid during one paint.
class QtGraphicsContext : public GraphicsContext {
 public:
  QtGraphicsContext(QPainter& painter, const QPalette& palette) : painter(painter), palette(palette) {}
  void save() override;
  void restore() override;
  void translate(double x, double y) override;
  void rotate(double radians) override;
  void strokeRoundedRect(const Rect& rect, double radius, SemanticColor color, double lineWidth) override;
  void fillRoundedRect(const Rect& rect, double radius, SemanticColor color) override;
  void strokeLine(const Point& from, const Point& to, SemanticColor color, double lineWidth, LineCap cap) override;

 private:
  QPainter& painter;
  QPalette palette;
};

}  // namespace turnlet::qt
