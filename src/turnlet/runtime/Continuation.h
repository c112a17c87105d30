#pragma once

// Continuation<T> turns a completion-handler API into an awaitable:
//
//   int n = co_await withContinuation<int>([&](Continuation<int> c) { api.start([c](int v) { c.resume(v); }); });
//
// resume() and resumeThrowing() may be called from any thread; the awaiting task always resumes on
// the main loop, exactly once, with the first outcome: a resume, the exception the start function
// threw, or a CancellationError when the task is cancelled. Later calls are ignored. Copies share
// one continuation. When every copy is dropped without a resume, the suspended task is released
// (on the main loop), so a lost completion handler leaks nothing. A cancelled task does not call
// the start function at all.

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

  // The first outcome wins: fill stores it, and the task resumes on the loop. Returns whether this
  // call was the first. Any thread.
  template <class Fill>
  bool complete(Fill fill) {
    std::shared_ptr<TaskState> s;
    {
      std::lock_guard lock(mutex);
      if (resumed) return false;
      resumed = true;
      fill(*result);
      s = std::move(state);
    }
    // The task's last reference travels inside the block, so the task can only end on the loop.
    MainLoop& loop = s->loop;
    loop.post([s = std::move(s), h = handle] {
      // The suspension is over: a later cancel or cycle check must not see it.
      s->onCancel = nullptr;
      s->awaiting.reset();
      h.resume();
    });
    return true;
  }

  ~ContinuationLink() {
    if (state) state->loop.post([s = std::move(state)] {});
  }
};

// Suspends the task at handle on a new link that the task's cancellation completes with a
// CancellationError. Main loop only.
template <class T>
std::shared_ptr<ContinuationLink<T>> suspendOn(TaskState& state, std::coroutine_handle<> handle,
                                               std::shared_ptr<ContinuationResult<T>> result) {
  auto link = std::make_shared<ContinuationLink<T>>();
  link->result = std::move(result);
  link->state = state.shared_from_this();
  link->handle = handle;
  // Weak: the hook lives in the task's own state, which the link holds.
  state.onCancel = [weak = std::weak_ptr(link)] {
    if (auto l = weak.lock())
      l->complete([](ContinuationResult<T>& r) { r.error = std::make_exception_ptr(CancellationError()); });
  };
  return link;
}

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
  bool await_suspend(std::coroutine_handle<P> handle) {
    TaskState& state = detail::stateOf(handle);
    if (state.cancelled) {
      result->error = std::make_exception_ptr(CancellationError());
      return false;
    }
    auto link = detail::suspendOn<T>(state, handle, result);
    try {
      start(Continuation<T>(link));
    } catch (...) {
      // Another thread may have resumed the task already; the task still resumes only once.
      link->complete([e = std::current_exception()](detail::ContinuationResult<T>& r) { r.error = e; });
    }
    return true;
  }
  T await_resume() { return result->take(); }
};

template <class T, class Start>
ContinuationAwaiter<T, std::decay_t<Start>> withContinuation(Start&& start) {
  return {std::forward<Start>(start)};
}

}  // namespace turnlet
