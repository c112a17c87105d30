#pragma once

#include <string>
#include <string_view>

namespace turnlet {

// Text from outside (a display name, a field of a file) made safe to print inside one line of
// tab-separated fields: tab, line feed and carriage return become \t, \n and \r, every other
// ASCII control character \xHH. Everything else, other bytes and backslashes included, is kept
// as it is, so ordinary text reads byte for byte.
std::string oneLine(std::string_view text);

}  // namespace turnlet
