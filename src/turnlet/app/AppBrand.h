#pragma once

#include <string>

namespace turnlet::AppBrand {

// The product web site, shown and linked in the About panel.
inline const std::string& website() {
  static const std::string address = "https://turnlet.app";
  return address;
}

}  // namespace turnlet::AppBrand
