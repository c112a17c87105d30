#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/DisplayServices.h"

namespace turnlet {

// The program's entry: the display listing when any argument is exactly "--list-displays",
// otherwise the application.
class TurnletApp {
 public:
  static bool wantsDisplayListing(const std::vector<std::string>& arguments);

  // One line per online display, in the system's order; nothing when there are none. Control
  // characters in a name are escaped (see oneLine), so a name never breaks its line or fields.
  static void listDisplays(DisplayServices& displays, std::ostream& out);

  // Runs the mode the arguments choose (argument 0 included) and returns the exit status,
  // which is always 0.
  static int main(const std::vector<std::string>& arguments, DisplayServices& displays, std::ostream& out,
                  std::ostream& err);
};

}  // namespace turnlet
