#import "macos/app/MacHotKeys.h"

#include <string>
#include <utility>

#include "macos/app/HotKeyCodes.h"
#include "macos/bridge/PlatformEntry.h"
#include "platform/Errors.h"

namespace turnlet::macos {

namespace {

constexpr OSType signature = 0x54726E6C;  // 'Trnl': marks this program's hot keys

PlatformError refused(OSStatus status) {
  if (status == eventHotKeyExistsErr)
    return PlatformError("NSOSStatusErrorDomain", status, "Another application already uses this shortcut (-9878).");
  return PlatformError("NSOSStatusErrorDomain", status, "macOS refused the shortcut (" + std::to_string(status) + ").");
}

class MacHotKey final : public HotKey {
 public:
  MacHotKey(EventHotKeyRef ref, std::weak_ptr<MacHotKeys::Handlers> handlers, std::uint32_t number)
      : ref(ref), handlers(std::move(handlers)), number(number) {}
  ~MacHotKey() override {
    UnregisterEventHotKey(ref);
    if (auto h = handlers.lock()) h->erase(number);
  }
  MacHotKey(const MacHotKey&) = delete;
  MacHotKey& operator=(const MacHotKey&) = delete;

 private:
  EventHotKeyRef ref;
  std::weak_ptr<MacHotKeys::Handlers> handlers;
  std::uint32_t number;
};

}  // namespace

MacHotKeys::MacHotKeys() {
  const EventTypeSpec pressed{kEventClassKeyboard, kEventHotKeyPressed};
  // Without the handler no press arrives; registering then still reserves the keys, harmlessly.
  InstallEventHandler(GetApplicationEventTarget(), &MacHotKeys::received, 1, &pressed, handlers.get(), &handler);
}

MacHotKeys::~MacHotKeys() {
  if (handler) RemoveEventHandler(handler);
}

std::unique_ptr<HotKey> MacHotKeys::registerHotKey(const KeyEquivalent& key, std::function<void()> pressed) {
  const auto code = hotKeyCode(key.key);
  if (!code) throw PlatformError("NSOSStatusErrorDomain", 0, "macOS has no hot key for \"" + key.key + "\".");
  const std::uint32_t number = next++;
  EventHotKeyRef ref = nullptr;
  const OSStatus status = RegisterEventHotKey(*code, hotKeyModifiers(key.modifiers), EventHotKeyID{signature, number},
                                              GetApplicationEventTarget(), 0, &ref);
  if (status != noErr || !ref) throw refused(status);
  (*handlers)[number] = std::move(pressed);
  return std::make_unique<MacHotKey>(ref, handlers, number);
}

OSStatus MacHotKeys::received(EventHandlerCallRef call, EventRef event, void* context) {
  (void)call;
  EventHotKeyID pressed{0, 0};
  if (GetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID, nullptr, sizeof pressed, nullptr, &pressed) !=
          noErr ||
      pressed.signature != signature || !context)
    return noErr;
  auto& handlers = *static_cast<Handlers*>(context);
  const auto found = handlers.find(pressed.id);
  if (found == handlers.end()) return noErr;
  // A copy: the handler may release its own registration.
  const auto run = found->second;
  // Nothing may unwind through the Event Manager's frames; the command reports its own failures.
  ranWithoutException(EntryThread::main, [&] {
    if (run) run();
  });
  return noErr;
}

}  // namespace turnlet::macos
