#pragma once

#include <memory>
#include <utility>

#include "platform/MainLoop.h"

namespace turnlet::macos {

// How a platform callback (a delegate, a target, an observer, a block) reaches its C++ owner:
// it holds the owner weakly, never an owning reference, so no retain cycle forms and the owner
// ends when its own owner lets go. The owner is locked only on the main loop: call() is for
// callbacks the platform makes there, post() for those on other threads.
template <class Owner>
class WeakBridge final {
 public:
  WeakBridge() = default;
  explicit WeakBridge(std::weak_ptr<Owner> owner) : owner(std::move(owner)) {}

  // On the main loop: runs fn(owner) if the owner is still there; the reference locked for it
  // lasts until fn returns, so the owner may drop itself from inside. Returns whether it ran.
  template <class Fn>
  bool call(Fn&& fn) const {
    std::shared_ptr<Owner> self = owner.lock();
    if (!self) return false;
    std::forward<Fn>(fn)(*self);
    return true;
  }

  // From any thread: runs fn(owner) later on the loop, if the owner is still there then. The
  // calling thread never holds a strong reference, so the owner never ends on it.
  template <class Fn>
  void post(MainLoop& loop, Fn fn) const {
    loop.post([bridge = *this, fn = std::move(fn)]() mutable { bridge.call(fn); });
  }

  bool expired() const { return owner.expired(); }

 private:
  std::weak_ptr<Owner> owner;
};

}  // namespace turnlet::macos
