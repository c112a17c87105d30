#pragma once

// Coroutines on the main loop.
//
// A Task<T> is a lazy coroutine: it starts when it is awaited or spawned, and runs on the main
// loop only. spawn() starts a root task after the current code returns to the loop and gives a
// TaskHandle that can cancel it or be awaited. Every coroutine awaited from a root shares the
// root's TaskState, so cancellation reaches the whole awaiting chain, and every await in it (a
// sleep, a continuation, another task's handle) ends promptly with a CancellationError when the
// task is cancelled. A spawned task runs to its end even when nobody holds its handle; a task
// suspended forever (a continuation that is dropped without being resumed) is destroyed, with
// every frame it awaits, when the last reference to it goes away; a task awaiting it then gets a
// CancellationError. A task that fails while nobody awaits its handle has its failure logged.

#include <atomic>
#include <cassert>
#include <concepts>
#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"

namespace turnlet {

// What a task's handles see of it: whether it has ended and what it threw. Outlives the task.
struct TaskResult {
  bool done = false;  // finished, or destroyed before it could finish
  bool cancelRequested = false;
  std::exception_ptr error;
  // Tasks waiting for this one, woken with its error when it ends; each says whether it took the
  // error (a waiter that rethrows it), so a failure nobody took is logged.
  std::vector<std::function<bool(const std::exception_ptr&)>> waiters;
};

// Shared by a spawned root task and every coroutine it awaits. Whatever will resume the task (a
// posted start, a pending timer, an outstanding continuation, the task it waits for) holds it;
// handles do not. A task that nothing can resume any more is destroyed with its frames, and
// whoever awaits it gets a CancellationError.
class TaskState : public std::enable_shared_from_this<TaskState> {
 public:
  TaskState(MainLoop& loop, Log* log) : loop(loop), log(log), result(std::make_shared<TaskResult>()) {}
  ~TaskState();
  TaskState(const TaskState&) = delete;
  TaskState& operator=(const TaskState&) = delete;

  MainLoop& loop;
  Log* log;  // where an unawaited failure goes; standard error when null
  std::atomic<bool> cancelled{false};
  // Wakes the current suspension early when the task is cancelled (main loop only).
  std::function<void()> onCancel;
  // The task whose handle this one is suspended on, so an await that would close a cycle of
  // tasks waiting for each other fails at once instead of leaking them all.
  std::weak_ptr<TaskState> awaiting;
  std::coroutine_handle<> root;
  std::shared_ptr<TaskResult> result;

  void cancel();
  void finish(std::exception_ptr rootError);
};

// Thrown into a task that awaits its own handle, or a task that (through others) awaits it.
class TaskCycleError : public Error {
 public:
  std::string localizedDescription() const override { return "A task waited for itself."; }
};

namespace detail {

struct PromiseBase {
  TaskState* state = nullptr;
  std::coroutine_handle<> continuation;
  std::exception_ptr exception;

  std::suspend_always initial_suspend() noexcept { return {}; }

  struct FinalAwaiter {
    bool await_ready() noexcept { return false; }
    template <class P>
    std::coroutine_handle<> await_suspend(std::coroutine_handle<P> handle) noexcept {
      PromiseBase& promise = handle.promise();
      if (promise.continuation) return promise.continuation;
      if (promise.state) promise.state->finish(promise.exception);
      return std::noop_coroutine();
    }
    void await_resume() noexcept {}
  };
  FinalAwaiter final_suspend() noexcept { return {}; }
  void unhandled_exception() noexcept { exception = std::current_exception(); }
};

template <class T>
struct Promise : PromiseBase {
  std::optional<T> value;
  template <class U>
  void return_value(U&& v) {
    value.emplace(std::forward<U>(v));
  }
  T take() {
    if (exception) std::rethrow_exception(exception);
    return std::move(*value);
  }
};

template <>
struct Promise<void> : PromiseBase {
  void return_void() noexcept {}
  void take() {
    if (exception) std::rethrow_exception(exception);
  }
};

// The task state of the coroutine that is awaiting; only promises of Task have one.
template <class P>
TaskState& stateOf(std::coroutine_handle<P> handle) {
  static_assert(std::is_base_of_v<PromiseBase, P>, "only a Task can await this");
  assert(handle.promise().state && "awaited outside a spawned task");
  assert(handle.promise().state->loop.isLoopThread() && "a task runs on the main loop only");
  return *handle.promise().state;
}

// co_await currentState(): the running task's state; never suspends.
struct CurrentStateAwaiter {
  TaskState* state = nullptr;
  bool await_ready() const noexcept { return false; }
  template <class P>
  bool await_suspend(std::coroutine_handle<P> handle) noexcept {
    state = &stateOf(handle);
    return false;
  }
  TaskState& await_resume() const noexcept { return *state; }
};
inline CurrentStateAwaiter currentState() { return {}; }

}  // namespace detail

template <class T = void>
class [[nodiscard]] Task {
 public:
  struct promise_type : detail::Promise<T> {
    Task get_return_object() { return Task(std::coroutine_handle<promise_type>::from_promise(*this)); }
  };
  using Handle = std::coroutine_handle<promise_type>;

  Task(Task&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
  Task& operator=(Task&& other) noexcept {
    if (this != &other) {
      reset();
      handle = std::exchange(other.handle, nullptr);
    }
    return *this;
  }
  ~Task() { reset(); }

  struct Awaiter {
    Handle child;
    bool await_ready() noexcept { return false; }
    template <class P>
    std::coroutine_handle<> await_suspend(std::coroutine_handle<P> parent) noexcept {
      child.promise().state = &detail::stateOf(parent);
      child.promise().continuation = parent;
      return child;
    }
    T await_resume() { return child.promise().take(); }
  };
  Awaiter operator co_await() && noexcept { return Awaiter{handle}; }

  // Hands the frame over to a new owner (spawn).
  Handle release() noexcept { return std::exchange(handle, nullptr); }

 private:
  explicit Task(Handle h) : handle(h) {}
  void reset() {
    if (handle) handle.destroy();
    handle = nullptr;
  }
  Handle handle;
};

namespace detail {
template <class T>
struct ContinuationResult;
}  // namespace detail

// A started root task. Copies refer to the same task. A handle does not keep the task alive: a
// spawned task runs to its end on its own.
class TaskHandle {
 public:
  TaskHandle() = default;
  explicit TaskHandle(const std::shared_ptr<TaskState>& state) : state(state), result(state->result) {}

  // Sets the task's cancellation flag and wakes its pending await, which then throws
  // CancellationError (posted, not inside cancel()). Main loop only.
  void cancel() const;
  bool isCancelled() const { return result && result->cancelRequested; }
  bool isDone() const { return result && result->done; }
  explicit operator bool() const { return result != nullptr; }

  // co_await handle waits for the task to end and rethrows what it threw; co_await
  // handle.ended() only waits. Either throws CancellationError when the waiting task is
  // cancelled, and TaskCycleError when the wait would close a cycle of waiting tasks.
  struct Awaiter {
    std::weak_ptr<TaskState> state;
    std::shared_ptr<TaskResult> result;
    bool takesError = true;
    std::exception_ptr refused;  // cancelled before it could wait, or a cycle
    std::shared_ptr<detail::ContinuationResult<void>> woken;  // what the wait ended with

    bool await_ready() const noexcept { return !result || result->done; }
    template <class P>
    bool await_suspend(std::coroutine_handle<P> waiting) {
      return suspend(detail::stateOf(waiting), waiting);
    }
    void await_resume() const;

   private:
    bool suspend(TaskState& waiting, std::coroutine_handle<> handle);
  };
  Awaiter operator co_await() const noexcept { return Awaiter{state, result, true, {}, {}}; }
  Awaiter ended() const noexcept { return Awaiter{state, result, false, {}, {}}; }

 private:
  std::weak_ptr<TaskState> state;
  std::shared_ptr<TaskResult> result;
};

// Starts a root task on the loop after the current code returns to it, like a posted block. A
// failure nobody awaits goes to log (standard error when null). Main loop only.
TaskHandle spawn(MainLoop& loop, Task<void> task, Log* log = nullptr);

namespace detail {
// The callable lives in this frame, so a lambda's captures outlive every await of its coroutine.
template <class F>
Task<void> keepAlive(F f) {
  co_await f();
}
}  // namespace detail

// Starts a callable that returns a Task (a lambda coroutine, say), keeping the callable and its
// captures alive until the task ends.
template <class F>
  requires std::invocable<F&>
TaskHandle spawn(MainLoop& loop, F f, Log* log = nullptr) {
  return spawn(loop, detail::keepAlive(std::move(f)), log);
}

// co_await sleep(seconds): waits on the loop's monotonic clock. Throws CancellationError when the
// task is cancelled before or during the wait. A NaN or negative time waits zero seconds.
struct SleepAwaiter {
  double seconds;
  // Not owning: the awaiter lives in a frame that the state owns.
  TaskState* state = nullptr;

  bool await_ready() const noexcept { return false; }
  template <class P>
  bool await_suspend(std::coroutine_handle<P> handle) {
    state = &detail::stateOf(handle);
    return suspend(handle);
  }
  void await_resume() const;

 private:
  bool suspend(std::coroutine_handle<> handle);
};
inline SleepAwaiter sleep(double seconds) { return SleepAwaiter{seconds}; }

// co_await isCancelled(): whether the current task has been cancelled; never suspends.
struct CancelledAwaiter {
  bool cancelled = false;
  bool await_ready() const noexcept { return false; }
  template <class P>
  bool await_suspend(std::coroutine_handle<P> handle) noexcept {
    cancelled = detail::stateOf(handle).cancelled;
    return false;
  }
  bool await_resume() const noexcept { return cancelled; }
};
inline CancelledAwaiter isCancelled() { return {}; }

// co_await checkCancellation(): throws CancellationError when the current task is cancelled.
struct CheckCancellationAwaiter : CancelledAwaiter {
  void await_resume() const {
    if (cancelled) throw CancellationError();
  }
};
inline CheckCancellationAwaiter checkCancellation() { return {}; }

}  // namespace turnlet
