#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace turnlet::macos {

// The platform's touch identities (objects compared with isEqual:) as the interface's numbers: a
// finger keeps its number from contact to lift, however many events and identity objects report
// it, and an identity seen again after its finger lifted is a new finger with a new number. A
// number is never 0 and never handed out twice.
//
// The touches of one event are numbered first (number()), each one that ended or was cancelled
// marked then (ending()); the marked ones are forgotten when the event has been handled (endEvent()),
// so every hook of that event still sees the lifted finger with its number. A finger whose end the
// platform never reports is forgotten once `capacity` newer ones are known. Main loop only.
template <class Key, class Equal = std::equal_to<Key>>
class TouchIdentities final {
 public:
  explicit TouchIdentities(std::size_t capacity = 32, Equal equal = Equal()) : capacity(capacity), equal(std::move(equal)) {}

  std::uint64_t number(const Key& identity) {
    for (Known& known : fingers)
      if (equal(known.identity, identity)) return known.number;
    if (fingers.size() >= capacity) fingers.erase(fingers.begin());
    fingers.push_back(Known{identity, ++last, false});
    return last;
  }

  // The finger lifted or was cancelled in the event being handled.
  void ending(const Key& identity) {
    for (Known& known : fingers)
      if (equal(known.identity, identity)) known.ending = true;
  }

  void endEvent() {
    std::erase_if(fingers, [](const Known& known) { return known.ending; });
  }

  std::size_t size() const { return fingers.size(); }

 private:
  struct Known final {
    Key identity;
    std::uint64_t number;
    bool ending;
  };
  std::size_t capacity;
  Equal equal;
  std::vector<Known> fingers;  // oldest first
  std::uint64_t last = 0;
};

}  // namespace turnlet::macos
