#pragma once

#include <atomic>

// Counts live instances, so a test can see that a coroutine frame holding one was destroyed.
struct Counted {
  static inline std::atomic<int> live{0};
  Counted() { ++live; }
  Counted(const Counted&) { ++live; }
  Counted(Counted&&) noexcept { ++live; }
  ~Counted() { --live; }
};
