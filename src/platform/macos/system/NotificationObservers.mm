#import "macos/system/NotificationObservers.h"

#include <utility>

#include "macos/bridge/PlatformEntry.h"

namespace turnlet::macos {

NotificationObservers::~NotificationObservers() {
  for (auto& [token, registration] : registrations) {
    registration.entry->active = false;
    [center removeObserver:registration.observer];
  }
}

std::uint64_t NotificationObservers::add(NSNotificationName name, std::function<void()> block, id object) {
  auto entry = std::make_shared<Entry>();
  entry->block = std::move(block);
  id<NSObject> observer = [center addObserverForName:name
                                              object:object
                                               queue:NSOperationQueue.mainQueue
                                          usingBlock:^(NSNotification* _Nonnull) {
                                            ranWithoutException(EntryThread::main, [&] {
                                              std::shared_ptr<Entry> running = entry;  // kept while it runs
                                              if (running->active && running->block) running->block();
                                            });
                                          }];
  const std::uint64_t token = next++;
  registrations.emplace(token, Registration{observer, std::move(entry)});
  return token;
}

void NotificationObservers::remove(std::uint64_t token) {
  auto it = registrations.find(token);
  if (it == registrations.end()) return;
  Registration registration = std::move(it->second);
  registrations.erase(it);
  registration.entry->active = false;
  [center removeObserver:registration.observer];
}

}  // namespace turnlet::macos
