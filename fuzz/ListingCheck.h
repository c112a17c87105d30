#pragma once

#include <algorithm>
#include <sstream>
#include <string>

#include "FuzzCheck.h"
#include "app/TurnletApp.h"

namespace turnlet::fuzz {

// The display listing of `displays`: one line per display, each with its four tab-separated
// fields (id, name, size, flags), whatever the names hold.
inline void checkListing(DisplayServices& displays, std::size_t expectedLines) {
  std::ostringstream out;
  TurnletApp::listDisplays(displays, out);
  const std::string text = out.str();
  check(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) == expectedLines,
        "the listing prints one line per display");
  check(text.find('\r') == std::string::npos, "the listing holds no carriage return");
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    check(std::count(line.begin(), line.end(), '\t') == 3, "each listing line has four fields");
}

}  // namespace turnlet::fuzz
