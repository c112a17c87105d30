#include "qt/QtGraphicsContext.h"

#include <QPainter>
#include <numbers>

namespace turnlet::qt {

namespace {

QRectF qtRect(const Rect& r) { return {r.origin.x, r.origin.y, r.size.width, r.size.height}; }

Qt::PenCapStyle qtCap(LineCap cap) {
  switch (cap) {
    case LineCap::butt: return Qt::FlatCap;
    case LineCap::round: return Qt::RoundCap;
    case LineCap::square: return Qt::SquareCap;
  }
  return Qt::FlatCap;
}

}  // namespace

QColor semanticColor(SemanticColor color, const QPalette& palette) {
  QColor text = palette.color(QPalette::WindowText);
  switch (color) {
    case SemanticColor::label: return text;
    case SemanticColor::secondaryLabel: text.setAlphaF(0.5f); return text;
    case SemanticColor::tertiaryLabel: text.setAlphaF(0.26f); return text;
    case SemanticColor::windowBackground: return palette.color(QPalette::Window);
  }
  return text;
}

void QtGraphicsContext::save() { painter.save(); }
void QtGraphicsContext::restore() { painter.restore(); }
void QtGraphicsContext::translate(double x, double y) { painter.translate(x, y); }
// With y growing upward, Qt's positive angle turns counter-clockwise on screen, as the logic's does.
void QtGraphicsContext::rotate(double radians) { painter.rotate(radians * 180 / std::numbers::pi); }

void QtGraphicsContext::strokeRoundedRect(const Rect& rect, double radius, SemanticColor color, double lineWidth) {
  painter.setPen(QPen(semanticColor(color, palette), lineWidth));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(qtRect(rect), radius, radius);
}

void QtGraphicsContext::fillRoundedRect(const Rect& rect, double radius, SemanticColor color) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(semanticColor(color, palette));
  painter.drawRoundedRect(qtRect(rect), radius, radius);
}

void QtGraphicsContext::strokeLine(const Point& from, const Point& to, SemanticColor color, double lineWidth,
                                   LineCap cap) {
  painter.setPen(QPen(semanticColor(color, palette), lineWidth, Qt::SolidLine, qtCap(cap)));
  painter.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
}

}  // namespace turnlet::qt
