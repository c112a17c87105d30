#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace turnlet::simulator {

// Where the program's control window opens beside the simulator window, in screen pixels, frames
// included: beside it (right, left, below or above, `gap` pixels apart), never over the displays'
// pictures. Where the screen has no room beside it, the window goes to a spot at the screen's or a
// picture's edge that covers as little as it can, in this order: of the iPad's picture, of the
// other pictures, of the simulator window. Among equals, the spot nearest the simulator window's
// top-right corner wins. Always inside the available area when it fits there.
struct ControlWindowPlacement {
  static constexpr int gap = 12;

  QRect available;                 // the screen's area for windows
  QRect simulatorFrame;            // the simulator window
  QSize controlFrame;              // the control window's size
  QRect ipadPicture;               // the iPad's picture; empty when none is shown
  std::vector<QRect> otherPictures;  // the other displays' pictures

  // The control window frame's top-left corner.
  QPoint position() const;
};

}  // namespace turnlet::simulator
