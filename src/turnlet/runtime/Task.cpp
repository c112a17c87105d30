#include "runtime/Task.h"

#include <cstdio>

#include "runtime/Continuation.h"

namespace turnlet {

namespace {

bool isCancellation(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const CancellationError&) {
    return true;
  } catch (...) {
    return false;
  }
}

std::string describe(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an exception that is not a std::exception";
  }
}

}  // namespace

TaskState::~TaskState() {
  if (root) root.destroy();
  if (!result->done) {
    // Nothing could resume this task any more; whoever waits for it must not wait for ever.
    finish(std::make_exception_ptr(CancellationError()));
  }
}

void TaskState::cancel() {
  assert(loop.isLoopThread());
  cancelled = true;
  if (auto wake = std::exchange(onCancel, nullptr)) wake();
}

void TaskState::finish(std::exception_ptr rootError) {
  result->done = true;
  result->error = rootError;
  bool taken = false;
  for (auto& waiter : std::exchange(result->waiters, {})) taken = waiter(rootError) || taken;
  if (!rootError || taken || isCancellation(rootError)) return;
  const std::string text = "A task nobody awaited failed: " + describe(rootError);
  if (log) {
    log->line(text);
  } else {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}

void TaskHandle::cancel() const {
  if (!result) return;
  result->cancelRequested = true;
  if (auto s = state.lock()) s->cancel();
}

bool TaskHandle::Awaiter::suspend(TaskState& waiting, std::coroutine_handle<> handle) {
  if (waiting.cancelled) {
    refused = std::make_exception_ptr(CancellationError());
    return false;
  }
  auto target = state.lock();
  for (auto t = target; t; t = t->awaiting.lock()) {
    if (t.get() == &waiting) {
      refused = std::make_exception_ptr(TaskCycleError());
      return false;
    }
  }
  woken = std::make_shared<detail::ContinuationResult<void>>();
  auto link = detail::suspendOn<void>(waiting, handle, woken);
  waiting.awaiting = target;
  // The awaited task holds the waiting one until it ends: it is what will resume it.
  result->waiters.push_back([link, takes = takesError](const std::exception_ptr& error) {
    return link->complete([&](detail::ContinuationResult<void>& r) {
      if (takes) r.error = error;
    }) && takes;
  });
  return true;
}

void TaskHandle::Awaiter::await_resume() const {
  if (refused) std::rethrow_exception(refused);
  if (woken) return woken->take();
  if (takesError && result && result->error) std::rethrow_exception(result->error);
}

TaskHandle spawn(MainLoop& loop, Task<void> task, Log* log) {
  assert(loop.isLoopThread() && "tasks are spawned on the main loop");
  auto state = std::make_shared<TaskState>(loop, log);
  auto handle = task.release();
  handle.promise().state = state.get();
  state->root = handle;
  // The posted block keeps the task alive until it has started; if the loop is torn down first,
  // dropping the block destroys the never-started frame.
  loop.post([state] { state->root.resume(); });
  return TaskHandle(state);
}

bool SleepAwaiter::suspend(std::coroutine_handle<> handle) {
  if (state->cancelled) return false;
  MainLoop& loop = state->loop;
  auto strong = state->shared_from_this();
  auto fired = std::make_shared<bool>(false);
  // The timer holds the task alive while it sleeps; the cancel hook lives inside the task's own
  // state, so it holds it weakly to avoid a cycle.
  auto wake = [handle, fired](const std::shared_ptr<TaskState>& s) {
    if (*fired) return;
    *fired = true;
    s->onCancel = nullptr;
    handle.resume();
  };
  auto id = loop.schedule(seconds, [wake, s = strong] { wake(s); });
  state->onCancel = [&loop, id, wake, weak = std::weak_ptr<TaskState>(strong)] {
    auto s = weak.lock();
    loop.cancel(id);
    if (s) loop.post([wake, s] { wake(s); });
  };
  return true;
}

void SleepAwaiter::await_resume() const {
  if (state->cancelled) throw CancellationError();
}

}  // namespace turnlet
