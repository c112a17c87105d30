#pragma once

// Continuation<T> turns a completion-handler API into an awaitable:
//
//   int n = co_await withContinuation<int>([&](Continuation<int> c) { api.start([c](int v) { c.resume(v); }); });
//
// resume() and resumeThrowing() may be called from any thread; the awaiting task always resumes on
// the main loop, exactly once: later calls are ignored. Copies share one continuation. When every
// copy is dropped without a resume, the suspended task is released (on the main loop), so a lost
// completion handler leaks nothing.

#include <coroutine>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

#include "runtime/Task.h"

namespace turnlet {

namespace detail {

template <class T>
struct ContinuationResult {
  std::optional<T> value;
  std::exception_ptr error;
  T take() {
    if (error) std::rethrow_exception(error);
    return std::move(*value);
  }
};

template <>
struct ContinuationResult<void> {
  bool value = false;
  std::exception_ptr error;
  void take() {
    if (error) std::rethrow_exception(error);
  }
};

// What the outstanding continuation copies hold: the suspended task, kept alive until resumed.
template <class T>
struct ContinuationLink {
  std::mutex mutex;
  bool resumed = false;
  std::shared_ptr<ContinuationResult<T>> result;
  std::shared_ptr<TaskState> state;
  std::coroutine_handle<> handle;

  template <class Fill>
  void complete(Fill fill) {
    std::shared_ptr<TaskState> s;
    {
      std::lock_guard lock(mutex);
      if (resumed) return;
      resumed = true;
      fill(*result);
      s = std::move(state);
    }
    // The task's last reference travels inside the block, so the task can only end on the loop.
    MainLoop& loop = s->loop;
    loop.post([s = std::move(s), h = handle] { h.resume(); });
  }

  // The start function threw: the awaiting task resumes with that exception at once, so a copy
  // it stored must not resume it again later.
  void abandon() {
    std::shared_ptr<TaskState> s;
    std::lock_guard lock(mutex);
    resumed = true;
    s = std::move(state);
  }

  ~ContinuationLink() {
    if (state) state->loop.post([s = std::move(state)] {});
  }
};

}  // namespace detail

template <class T>
class Continuation {
 public:
  explicit Continuation(std::shared_ptr<detail::ContinuationLink<T>> link) : link(std::move(link)) {}

  template <class U = T>
    requires(!std::is_void_v<U>)
  void resume(U value) const {
    link->complete([&](detail::ContinuationResult<T>& r) { r.value.emplace(std::move(value)); });
  }
  template <class U = T>
    requires std::is_void_v<U>
  void resume() const {
    link->complete([](detail::ContinuationResult<T>& r) { r.value = true; });
  }
  void resumeThrowing(std::exception_ptr error) const {
    link->complete([&](detail::ContinuationResult<T>& r) { r.error = std::move(error); });
  }

 private:
  std::shared_ptr<detail::ContinuationLink<T>> link;
};

template <class T, class Start>
struct ContinuationAwaiter {
  Start start;
  std::shared_ptr<detail::ContinuationResult<T>> result = std::make_shared<detail::ContinuationResult<T>>();

  bool await_ready() const noexcept { return false; }
  template <class P>
  void await_suspend(std::coroutine_handle<P> handle) {
    auto link = std::make_shared<detail::ContinuationLink<T>>();
    link->result = result;
    link->state = detail::stateOf(handle).shared_from_this();
    link->handle = handle;
    try {
      start(Continuation<T>(link));
    } catch (...) {
      link->abandon();
      throw;
    }
  }
  T await_resume() { return result->take(); }
};

template <class T, class Start>
ContinuationAwaiter<T, std::decay_t<Start>> withContinuation(Start&& start) {
  return {std::forward<Start>(start)};
}

}  // namespace turnlet
