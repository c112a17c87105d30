#pragma once

// co_await withTimeout(seconds, operation): runs the operation (a Task, or an awaitable such as a
// continuation or a sleep) as a task of its own and gives its result, unless the time runs out
// first: then the operation is cancelled and, once it has ended, TimeoutError is thrown. When the
// waiting task is cancelled it throws CancellationError at once, and the operation is cancelled
// and left to end by itself.

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "runtime/Task.h"

namespace turnlet {

class TimeoutError : public Error {
 public:
  std::string localizedDescription() const override { return "The operation timed out."; }
};

namespace detail {

template <class T>
struct Slot {
  std::optional<T> value;
  T take() { return std::move(*value); }
};
template <>
struct Slot<void> {
  void take() {}
};

template <class T>
Task<void> fill(Task<T> task, std::shared_ptr<Slot<T>> slot) {
  if constexpr (std::is_void_v<T>) {
    co_await std::move(task);
  } else {
    slot->value.emplace(co_await std::move(task));
  }
}

template <class A>
auto asTask(A awaitable) -> Task<decltype(std::declval<A&>().await_resume())> {
  co_return co_await std::move(awaitable);
}

}  // namespace detail

template <class T>
Task<T> withTimeout(double seconds, Task<T> operation) {
  TaskState& self = co_await detail::currentState();
  auto slot = std::make_shared<detail::Slot<T>>();
  const TaskHandle child = spawn(self.loop, detail::fill(std::move(operation), slot), self.log);
  auto timedOut = std::make_shared<bool>(false);
  const auto timer = self.loop.schedule(seconds, [child, timedOut] {
    if (child.isDone()) return;
    *timedOut = true;
    child.cancel();
  });
  std::exception_ptr error;
  try {
    co_await child;
  } catch (...) {
    error = std::current_exception();
  }
  self.loop.cancel(timer);
  if (*timedOut) throw TimeoutError();
  if (error) {
    child.cancel();  // the waiting task was cancelled: so is its operation
    std::rethrow_exception(error);
  }
  co_return slot->take();
}

template <class A>
  requires requires(A& a) { a.await_resume(); }
auto withTimeout(double seconds, A awaitable) {
  return withTimeout(seconds, detail::asTask(std::move(awaitable)));
}

}  // namespace turnlet
