#pragma once

#include <utility>

namespace turnlet::macos {

// One owned reference to a reference-counted platform object, released when the holder lets go.
// Follows the platform's ownership rule: what a function named Create or Copy returns is owned
// already (adopt), what any other function returns is not (retain). Traits supply the two calls:
//   static void retain(Ref), static void release(Ref)
// Copies retain, moves take over, a null reference is never passed to the traits.
template <class Ref, class Traits>
class RetainedRef final {
 public:
  RetainedRef() = default;

  // Takes over a reference the caller owns (the create/copy rule).
  static RetainedRef adopt(Ref ref) { return RetainedRef(ref); }
  // Keeps an object the caller does not own (the get rule): retains it.
  static RetainedRef retain(Ref ref) {
    if (ref != Ref{}) Traits::retain(ref);
    return RetainedRef(ref);
  }

  RetainedRef(const RetainedRef& other) : ref(other.ref) {
    if (ref) Traits::retain(ref);
  }
  RetainedRef(RetainedRef&& other) noexcept : ref(std::exchange(other.ref, Ref{})) {}
  RetainedRef& operator=(RetainedRef other) noexcept {
    std::swap(ref, other.ref);  // the old reference goes with other
    return *this;
  }
  ~RetainedRef() { reset(); }

  Ref get() const { return ref; }
  explicit operator bool() const { return ref != Ref{}; }

  void reset() {
    if (Ref old = std::exchange(ref, Ref{})) Traits::release(old);
  }
  // Hands the owned reference to the caller (for a transfer into the object runtime).
  [[nodiscard]] Ref release() { return std::exchange(ref, Ref{}); }

 private:
  explicit RetainedRef(Ref r) : ref(r) {}
  Ref ref{};
};

}  // namespace turnlet::macos
