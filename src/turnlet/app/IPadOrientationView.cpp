#include "app/IPadOrientationView.h"

#include <algorithm>
#include <numbers>

namespace turnlet {

IPadOrientationView::IPadOrientationView(std::shared_ptr<CustomView> customView) : view(std::move(customView)) {
  view->setDraw([this](GraphicsContext& context, Size bounds) { draw(context, bounds, turn); });
  view->setAccessibilityLabel(accessibilityDescription(turn));
}

void IPadOrientationView::setRotation(QuarterTurn rotation) {
  if (rotation == turn) return;
  turn = rotation;
  view->setNeedsDisplay();
  view->setAccessibilityLabel(accessibilityDescription(turn));
}

std::string IPadOrientationView::accessibilityDescription(QuarterTurn rotation) {
  const char* side = "right";
  switch (rotation) {
    case QuarterTurn::normal: side = "right"; break;
    case QuarterTurn::right: side = "bottom"; break;
    case QuarterTurn::inverted: side = "left"; break;
    case QuarterTurn::left: side = "top"; break;
  }
  return std::string("iPad ") + (isPortrait(rotation) ? "portrait" : "landscape") + ", power port at " + side;
}

void IPadOrientationView::draw(GraphicsContext& context, Size bounds, QuarterTurn rotation) {
  const double side = std::min(bounds.width - 8, bounds.height - 8);
  const double l = side - 44;
  if (!(l > 30)) return;
  const auto colour = SemanticColor::secondaryLabel;
  context.save();
  context.translate(bounds.width / 2, bounds.height / 2);
  context.rotate(-rawValue(rotation) * std::numbers::pi / 180);
  context.strokeRoundedRect(Rect(-l / 2, -0.75 * l / 2, l, 0.75 * l), 8, colour, 1.6);
  context.strokeLine({l / 2 + 7, 0}, {l / 2 + 18, 0}, colour, 1.8, LineCap::round);
  const Rect port(l / 2 - 0.5, -2.5, 7.5, 5);
  context.fillRoundedRect(port, 1.2, SemanticColor::windowBackground);
  context.strokeRoundedRect(port, 1.2, colour, 1.2);
  context.restore();
}

}  // namespace turnlet
