#pragma once

#import <Carbon/Carbon.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/HotKeys.h"

namespace turnlet::macos {

// System-wide key combinations through the Event Manager's registered hot keys, which need no
// Accessibility permission. One handler on the application's event target receives every press,
// on the main thread, and runs the handler registered under the pressed key's number. A
// registration that is released unregisters its key; one that outlives this object only
// unregisters. One per process; main thread only.
class MacHotKeys final : public HotKeys {
 public:
  MacHotKeys();
  ~MacHotKeys() override;
  MacHotKeys(const MacHotKeys&) = delete;
  MacHotKeys& operator=(const MacHotKeys&) = delete;

  std::unique_ptr<HotKey> registerHotKey(const KeyEquivalent& key, std::function<void()> pressed) override;

  using Handlers = std::map<std::uint32_t, std::function<void()>>;

 private:
  static OSStatus received(EventHandlerCallRef call, EventRef event, void* handlers);

  // Shared with the registrations, which remove themselves; the event handler reads it through
  // a plain pointer and is removed before it goes.
  std::shared_ptr<Handlers> handlers = std::make_shared<Handlers>();
  EventHandlerRef handler = nullptr;
  std::uint32_t next = 1;
};

}  // namespace turnlet::macos
