#import "macos/app/MacStatusItem.h"

#include "macos/app/MacMenu.h"
#include "macos/bridge/TextBridge.h"

namespace turnlet::macos {

MacStatusItem::MacStatusItem() : item([NSStatusBar.systemStatusBar statusItemWithLength:NSSquareStatusItemLength]) {}

MacStatusItem::~MacStatusItem() {
  item.menu = nil;
  [NSStatusBar.systemStatusBar removeStatusItem:item];
}

void MacStatusItem::setSymbolImage(const std::string& symbolName, const std::string& accessibilityDescription) {
  item.button.image = [NSImage imageWithSystemSymbolName:makeNSString(symbolName)
                                accessibilityDescription:makeNSString(accessibilityDescription)];
}

void MacStatusItem::setToolTip(const std::string& text) { item.button.toolTip = makeNSString(text); }

void MacStatusItem::setMenu(std::shared_ptr<Menu> value) {
  auto mac = std::dynamic_pointer_cast<MacMenu>(value);
  item.menu = mac ? mac->platformMenu() : nil;
  menu = std::move(mac);
}

}  // namespace turnlet::macos
