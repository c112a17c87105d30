#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "platform/Application.h"
#include "platform/DisplayServices.h"

namespace turnlet {

// The program's entry: the mode the command line chooses (CommandLine), by default the
// application.
class TurnletApp {
 public:
  // "Turnlet" and the version, then any lines of buildDetails (the SDK of a Mac build).
  static std::string version(const std::string& buildDetails = {});

  // Prints the help or the version when the command line asks for one; whether it did. Starts
  // nothing and reads no settings, so it answers at once.
  static bool answerAtOnce(const CommandLine& line, std::ostream& out, const std::string& buildDetails = {});

  // One line per online display, in the system's order; nothing when there are none. Control
  // characters in a name are escaped (see oneLine), so a name never breaks its line or fields.
  static void listDisplays(DisplayServices& displays, std::ostream& out);

  // The application: registers the one delegate, makes the application a regular one (Dock icon
  // and main menu) and runs its loop until it terminates.
  static void runApplication(Application& application, const std::shared_ptr<ApplicationDelegate>& delegate);

  // Runs the listing or `application`, whichever the command line asks for. Returns the exit
  // status, 0.
  static int main(const CommandLine& line, DisplayServices& displays, std::ostream& out,
                  const std::function<void()>& application);
};

}  // namespace turnlet
