#include "app/CommandLine.h"

#include <algorithm>

namespace turnlet {

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
  const auto has = [&](const char* option) {
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
  };
  CommandLine line;
  if (has("--help"))
    line.mode = Mode::help;
  else if (has("--version"))
    line.mode = Mode::version;
  else if (has("--list-displays"))
    line.mode = Mode::listDisplays;
  else if (has("--self-test"))
    line.mode = Mode::selfTest;
  line.display = line.mode == Mode::selfTest && has("--display");
  line.request = line.mode == Mode::selfTest && has("--request");
  return line;
}

const std::string& CommandLine::help() {
  static const std::string text =
      "Usage: turnlet [option]\n"
      "Without an option, runs the application (a second launch shows the running copy).\n"
      "  --list-displays        print one line per online display and exit\n"
      "  --self-test            check what the program needs on this system, one line per check;\n"
      "                         exit status 0 when every check that ran passed, else 1\n"
      "  --self-test --display  also make a small virtual display, capture and rotate one frame of\n"
      "                         it and remove it, with each step's time\n"
      "  --self-test --request  ask for a missing permission instead of only checking it\n"
      "  --version              print the name and version and exit\n"
      "  --help                 print this text and exit\n"
      "Any other argument is ignored.\n";
  return text;
}

}  // namespace turnlet
