#pragma once

#import <AppKit/AppKit.h>

#include <memory>
#include <string>

#include "platform/StatusItem.h"

namespace turnlet::macos {

// A square item in the system status bar; removed from the bar when released. It keeps its menu,
// whose items own their actions. Main loop only.
class MacStatusItem final : public StatusItem {
 public:
  MacStatusItem();
  ~MacStatusItem() override;
  MacStatusItem(const MacStatusItem&) = delete;
  MacStatusItem& operator=(const MacStatusItem&) = delete;

  // The image is the system symbol (for Turnlet "rotate.right"); a name the system lacks leaves
  // the button without one.
  void setSymbolImage(const std::string& symbolName, const std::string& accessibilityDescription) override;
  void setToolTip(const std::string& text) override;
  void setMenu(std::shared_ptr<Menu> menu) override;

 private:
  NSStatusItem* _Nonnull item;
  std::shared_ptr<Menu> menu;
};

}  // namespace turnlet::macos
