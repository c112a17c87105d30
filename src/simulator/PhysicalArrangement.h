#pragma once

#include <map>
#include <optional>
#include <vector>

#include "sim/world/DisplayServer.h"

namespace turnlet::simulator {

// Where the user's displays physically stand, in global display points (y down). While the
// program shows the iPad turned it parks the iPad far off and puts its own virtual display in the
// iPad's place; neither is a physical move. So while the program's virtual display is online the
// places known before are kept (a display that appears meanwhile joins where it appears), and
// only an explicit move changes them; otherwise the places are where the displays are. Main loop
// only.
class PhysicalArrangement {
 public:
  struct Place {
    sim::SimDisplay display;  // as the display server has it now (parked, when it is)
    Rect bounds;              // where it physically stands, at its current size
  };

  // The program's own virtual display is no screen: the picture of it is seen on the iPad.
  static bool isOwnVirtualDisplay(const sim::SimDisplay& display);
  static bool ownVirtualDisplayOnline(const sim::DisplayServer& displays);

  void update(const sim::DisplayServer& displays);
  void move(DisplayID display, Point origin);

  const std::vector<Place>& places() const { return current; }
  const Place* find(DisplayID display) const;
  // The iPad: the first physical display that is neither the main display nor built in.
  const Place* ipad(DisplayID mainDisplay) const;
  Rect extent() const;

 private:
  std::vector<Place> current;
  std::map<DisplayID, Point> origins;
};

}  // namespace turnlet::simulator
