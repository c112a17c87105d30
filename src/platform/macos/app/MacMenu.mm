#import "macos/app/MacMenu.h"

#include "macos/bridge/ActionTarget.h"
#include "macos/bridge/KeepAlive.h"
#include "macos/input/KeyModifiers.h"
#include "macos/bridge/PlatformEntry.h"
#include "macos/bridge/TextBridge.h"

#include <cstdint>

// The menu's delegate: the will-open handler runs from menuNeedsUpdate:, where the items may
// change (menuWillOpen: comes while AppKit already lays the menu out). It holds the handler's
// slot, not the C++ menu, so it outlives nothing.
__attribute__((objc_subclassing_restricted))
@interface TurnletMenuDelegate : NSObject <NSMenuDelegate>
- (instancetype _Nonnull)initWithSlot:(std::shared_ptr<turnlet::macos::CallbackSlot<>>)slot;
@end

@implementation TurnletMenuDelegate {
  std::shared_ptr<turnlet::macos::CallbackSlot<>> _slot;
}

- (instancetype)initWithSlot:(std::shared_ptr<turnlet::macos::CallbackSlot<>>)slot {
  self = [super init];
  if (self) _slot = std::move(slot);
  return self;
}

- (void)menuNeedsUpdate:(NSMenu*)menu {
  turnlet::macos::ranWithoutException(turnlet::macos::EntryThread::main, [&] {
    turnlet::macos::KeepAlive keep(menu);
    (*_slot)();
  });
}

@end

namespace turnlet::macos {

// The flags KeyModifiers computes are AppKit's (checked against the SDK on a Mac).
static_assert(NSEventModifierFlagShift == std::uint64_t{1} << 17);
static_assert(NSEventModifierFlagControl == std::uint64_t{1} << 18);
static_assert(NSEventModifierFlagOption == std::uint64_t{1} << 19);
static_assert(NSEventModifierFlagCommand == std::uint64_t{1} << 20);

MacMenuItem::MacMenuItem(const std::string& title)
    : item([[NSMenuItem alloc] initWithTitle:makeNSString(title) action:nil keyEquivalent:@""]) {}

MacMenuItem::~MacMenuItem() { [target invalidate]; }

void MacMenuItem::setTitle(const std::string& title) { item.title = makeNSString(title); }

void MacMenuItem::setKeyEquivalent(std::optional<KeyEquivalent> key) {
  item.keyEquivalent = key ? makeNSString(appKitKeyEquivalent(key->key)) : @"";
  item.keyEquivalentModifierMask =
      static_cast<NSEventModifierFlags>(key ? appKitModifierFlags(key->modifiers) : 0);
}

void MacMenuItem::setAction(std::function<void(MenuItem&)> action) {
  chosen.set(std::move(action));
  if (!chosen.isSet()) {
    // Without a target and selector AppKit's automatic enabling disables the item.
    item.action = nil;
    item.target = nil;
    return;
  }
  if (!target) {
    std::weak_ptr<MacMenuItem> weak = weak_from_this();
    target = [[TurnletActionTarget alloc] initWithAction:[weak](id) { MenuItemAction::choose(weak); }];
  }
  item.target = target;
  item.action = @selector(perform:);
}

void MacMenuItem::setTag(std::int64_t tag) { item.tag = static_cast<NSInteger>(tag); }

std::int64_t MacMenuItem::tag() const { return item.tag; }

void MacMenuItem::setChecked(bool checked) { item.state = checked ? NSControlStateValueOn : NSControlStateValueOff; }

void MacMenuItem::setEnabled(bool enabled) { item.enabled = enabled; }

void MacMenuItem::setToolTip(const std::string& text) { item.toolTip = text.empty() ? nil : makeNSString(text); }

void MacMenuItem::setSubmenu(std::shared_ptr<Menu> menu) {
  auto mac = std::dynamic_pointer_cast<MacMenu>(menu);
  item.submenu = mac ? mac->platformMenu() : nil;
  submenu = std::move(mac);
}

void MacMenuItem::detach() {
  chosen.detach();
  item.target = nil;
  item.action = nil;
}

MacMenu::MacMenu(const std::string& title)
    : menu([[NSMenu alloc] initWithTitle:makeNSString(title)]),
      delegate([[TurnletMenuDelegate alloc] initWithSlot:willOpen]) {
  menu.delegate = delegate;
}

MacMenu::~MacMenu() {
  menu.delegate = nil;
  willOpen->clear();
  for (const auto& item : items.removeAll()) item->detach();
}

std::shared_ptr<MenuItem> MacMenu::addItem(const std::string& title) {
  const auto& item = items.add(std::make_shared<MacMenuItem>(title));
  [menu addItem:item->platformItem()];
  return item;
}

void MacMenu::addSeparator() { [menu addItem:[NSMenuItem separatorItem]]; }

void MacMenu::removeAllItems() {
  // A running action keeps its own item; the others end here, after AppKit let them go.
  const auto gone = items.removeAll();
  for (const auto& item : gone) item->detach();
  [menu removeAllItems];
}

void MacMenu::setAutoenablesItems(bool automatic) { menu.autoenablesItems = automatic; }

void MacMenu::setOnWillOpen(std::function<void()> handler) { willOpen->set(std::move(handler)); }

}  // namespace turnlet::macos
