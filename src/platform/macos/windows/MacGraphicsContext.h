#pragma once

#import <AppKit/AppKit.h>

#include "platform/GraphicsContext.h"

namespace turnlet::macos {

// The drawing context of a view's drawRect:: paths are NSBezierPaths, colours the semantic system
// colours (resolved for the view's appearance while it draws), transforms concatenated onto the
// current context. Valid only during the draw it was made for; main loop only.
class MacGraphicsContext final : public GraphicsContext {
 public:
  explicit MacGraphicsContext(NSGraphicsContext* _Nonnull context) : context(context) {}

  void save() override;
  void restore() override;
  void translate(double x, double y) override;
  void rotate(double radians) override;
  void strokeRoundedRect(const Rect& rect, double radius, SemanticColor color, double lineWidth) override;
  void fillRoundedRect(const Rect& rect, double radius, SemanticColor color) override;
  void strokeLine(const Point& from, const Point& to, SemanticColor color, double lineWidth, LineCap cap) override;

 private:
  NSGraphicsContext* _Nonnull context;
};

// The system colour for a role.
NSColor* _Nonnull platformColor(SemanticColor color);

}  // namespace turnlet::macos
