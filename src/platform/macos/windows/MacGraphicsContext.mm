#import "macos/windows/MacGraphicsContext.h"

namespace turnlet::macos {

namespace {

NSBezierPath* _Nonnull roundedRect(const Rect& rect, double radius) {
  return [NSBezierPath bezierPathWithRoundedRect:CGRectMake(rect.origin.x, rect.origin.y, rect.size.width,
                                                            rect.size.height)
                                         xRadius:radius
                                         yRadius:radius];
}

NSLineCapStyle platformCap(LineCap cap) {
  switch (cap) {
    case LineCap::round:
      return NSLineCapStyleRound;
    case LineCap::square:
      return NSLineCapStyleSquare;
    case LineCap::butt:
      break;
  }
  return NSLineCapStyleButt;
}

}  // namespace

NSColor* platformColor(SemanticColor color) {
  switch (color) {
    case SemanticColor::secondaryLabel:
      return NSColor.secondaryLabelColor;
    case SemanticColor::tertiaryLabel:
      return NSColor.tertiaryLabelColor;
    case SemanticColor::windowBackground:
      return NSColor.windowBackgroundColor;
    case SemanticColor::label:
      break;
  }
  return NSColor.labelColor;
}

void MacGraphicsContext::save() { [context saveGraphicsState]; }

void MacGraphicsContext::restore() { [context restoreGraphicsState]; }

void MacGraphicsContext::translate(double x, double y) {
  NSAffineTransform* transform = [NSAffineTransform transform];
  [transform translateXBy:x yBy:y];
  [transform concat];
}

void MacGraphicsContext::rotate(double radians) {
  // Counter-clockwise positive in a y-up view, as the interface's angles are.
  NSAffineTransform* transform = [NSAffineTransform transform];
  [transform rotateByRadians:radians];
  [transform concat];
}

void MacGraphicsContext::strokeRoundedRect(const Rect& rect, double radius, SemanticColor color, double lineWidth) {
  NSBezierPath* path = roundedRect(rect, radius);
  path.lineWidth = lineWidth;
  [platformColor(color) setStroke];
  [path stroke];
}

void MacGraphicsContext::fillRoundedRect(const Rect& rect, double radius, SemanticColor color) {
  [platformColor(color) setFill];
  [roundedRect(rect, radius) fill];
}

void MacGraphicsContext::strokeLine(const Point& from, const Point& to, SemanticColor color, double lineWidth,
                                    LineCap cap) {
  NSBezierPath* path = [NSBezierPath bezierPath];
  [path moveToPoint:NSMakePoint(from.x, from.y)];
  [path lineToPoint:NSMakePoint(to.x, to.y)];
  path.lineWidth = lineWidth;
  path.lineCapStyle = platformCap(cap);
  [platformColor(color) setStroke];
  [path stroke];
}

}  // namespace turnlet::macos
