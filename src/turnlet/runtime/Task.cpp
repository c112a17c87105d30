#include "runtime/Task.h"

namespace turnlet {

TaskState::~TaskState() {
  if (root) root.destroy();
  if (!result->done) {
    // Nothing could resume this task any more; whoever waits for it must not wait for ever.
    result->error = std::make_exception_ptr(CancellationError());
    finish(result->error);
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
  for (auto& waiter : std::exchange(result->waiters, {})) loop.post(std::move(waiter));
}

void TaskHandle::cancel() const {
  if (!result) return;
  result->cancelRequested = true;
  if (auto s = state.lock()) s->cancel();
}

TaskHandle spawn(MainLoop& loop, Task<void> task) {
  auto state = std::make_shared<TaskState>(loop);
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
