#pragma once

#include <memory>
#include <string>

#include "platform/Menu.h"

namespace turnlet {

// An item in the menu bar's status area, square, showing a system symbol; clicking it opens its
// menu. Main loop only; removed from the bar when released.
class StatusItem {
 public:
  virtual ~StatusItem() = default;
  virtual void setSymbolImage(const std::string& symbolName, const std::string& accessibilityDescription) = 0;
  virtual void setToolTip(const std::string& text) = 0;
  virtual void setMenu(std::shared_ptr<Menu> menu) = 0;
};

}  // namespace turnlet
