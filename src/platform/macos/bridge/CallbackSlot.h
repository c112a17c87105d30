#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace turnlet::macos {

// A stored callback that stays alive while it runs: the owner may replace or clear the slot, or
// drop the object that holds it, from inside the callback (a recognizer removed by its own
// action, a window closed from its own delegate call), and the running function and what it
// captured end only after it returns. Used on one thread (the main loop).
template <class... Args>
class CallbackSlot final {
 public:
  void set(std::function<void(Args...)> fn) {
    current = fn ? std::make_shared<std::function<void(Args...)>>(std::move(fn)) : nullptr;
  }
  void clear() { current.reset(); }
  explicit operator bool() const { return current != nullptr; }

  // Calls the callback, if any; returns whether there was one.
  bool operator()(Args... args) const {
    std::shared_ptr<std::function<void(Args...)>> running = current;  // kept until the call returns
    if (!running) return false;
    (*running)(std::forward<Args>(args)...);
    return true;
  }

 private:
  std::shared_ptr<std::function<void(Args...)>> current;
};

}  // namespace turnlet::macos
