#pragma once

#import <Foundation/Foundation.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace turnlet::macos {

// Block observers of one notification center, delivered on the main operation queue, by token.
// remove() takes the observer off the center and also silences a delivery the queue already
// holds, so a block never runs after its token is removed; a block may remove its own token, and
// what it captured lives until it returns. Destroying the registry removes every observer left.
// Main thread only.
class NotificationObservers final {
 public:
  explicit NotificationObservers(NSNotificationCenter* _Nonnull center) : center(center) {}
  ~NotificationObservers();
  NotificationObservers(const NotificationObservers&) = delete;
  NotificationObservers& operator=(const NotificationObservers&) = delete;

  // Observes name posted by object, or by anyone when object is nil (held weakly by the center).
  std::uint64_t add(NSNotificationName _Nonnull name, std::function<void()> block, id _Nullable object = nil);
  void remove(std::uint64_t token);

 private:
  struct Entry final {
    std::function<void()> block;
    bool active = true;
  };
  struct Registration final {
    __strong id<NSObject> _Nonnull observer;
    std::shared_ptr<Entry> entry;
  };

  __strong NSNotificationCenter* _Nonnull center;
  std::map<std::uint64_t, Registration> registrations;
  std::uint64_t next = 1;
};

}  // namespace turnlet::macos
