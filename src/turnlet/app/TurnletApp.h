#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Application.h"
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

  // The application: registers the one delegate, makes the application a regular one (Dock icon
  // and main menu) and runs its loop until it terminates.
  static void runApplication(Application& application, const std::shared_ptr<ApplicationDelegate>& delegate);

  // Runs the mode the arguments choose (argument 0 included): the listing, or `application`.
  // Returns the exit status, which is always 0.
  static int main(const std::vector<std::string>& arguments, DisplayServices& displays, std::ostream& out,
                  const std::function<void()>& application);
};

}  // namespace turnlet
