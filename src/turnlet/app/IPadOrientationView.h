#pragma once

#include <memory>
#include <string>

#include "display/QuarterTurn.h"
#include "platform/AppWindow.h"

namespace turnlet {

// The control window's drawing of the iPad in its current orientation: an outline with its
// power port and cable on the right-hand short side, turned clockwise by the rotation. An image
// to accessibility, labelled with accessibilityDescription(). Main loop only.
class IPadOrientationView {
 public:
  explicit IPadOrientationView(std::shared_ptr<CustomView> view);

  QuarterTurn rotation() const { return turn; }
  // Redraws and relabels only when the rotation changes.
  void setRotation(QuarterTurn rotation);

  static std::string accessibilityDescription(QuarterTurn rotation);
  // Draws nothing when the view is too small for a recognisable outline.
  static void draw(GraphicsContext& context, Size bounds, QuarterTurn rotation);

 private:
  std::shared_ptr<CustomView> view;
  QuarterTurn turn = QuarterTurn::normal;
};

}  // namespace turnlet
