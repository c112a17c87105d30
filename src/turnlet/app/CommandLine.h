#pragma once

#include <string>
#include <vector>

namespace turnlet {

// What the arguments ask for. Options are whole, case-sensitive arguments at any position; every
// other argument is ignored, those macOS adds to a launched application ("-psn_0_1234",
// "-NSDocumentRevisionsDebugMode YES") included, so nothing a launcher passes stops the program.
// When several modes are named the first of help, version, listing and self-test wins.
struct CommandLine {
  enum class Mode { application, help, version, listDisplays, selfTest };

  Mode mode = Mode::application;
  bool display = false;  // --display: the self-test also makes, captures and removes a display
  bool request = false;  // --request: the self-test asks for missing permissions

  static CommandLine parse(const std::vector<std::string>& arguments);

  // The options and what each does, one per line.
  static const std::string& help();
};

}  // namespace turnlet
